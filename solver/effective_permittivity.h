// The effective permittivity that stands in for a dielectric slab when the layout
// is computed as if it lay in a homogeneous medium over the ground plane (the
// "Effective Eps." choice): a closed-form estimate, or a value fitted to the
// rigorous spectral-domain self-interaction of one grid cell.
#pragma once

#include <cstddef>
#include <cstdint>

#include "solver/complex_arithmetic.h"
#include "solver/solver_settings.h"

namespace lumetra {

// eps0 ((epsR + 1)/2 + (epsR - 1)/2 / sqrt(1 + 10 h / g)), F/m: the field of a trace
// of width g (the grid size) at height h over the plane lies partly in the slab and
// partly in the air, the more in the slab the wider the trace. h and g in mm.
double SimpleEffectivePermittivity(double epsR, double heightMm, double gridMm);

// When the fitted value is renewed over the points of a run: at the first point and
// then at every Every-th one (Every = 3: points 1, 4, 7, ...), reused in between.
// ApproximationAnchor gives the point (0-based index) at whose frequency the value
// of point `index` is fitted (only the first when every < 1): a function of the index
// alone, so that points solved out of order or on other machines see the same
// permittivity as in a sweep run one point after another.
std::size_t ApproximationAnchor(std::size_t index, std::int32_t every);

// The self-impedance of one square Jx cell of side w (m) with its two charge cells
// of side w centred w/2 to either side and everything mirrored 2h below (h in m),
// as the free-space and image fills compute it, in a medium of permittivity eps
// whose wavenumber stays k: only the charges' potential depends on eps.
struct CellSelfImpedance {
  Complex Vector;  // vector-potential part, ohm m
  Complex Charge;  // scalar-potential part times eps

  Complex At(double eps) const {
    return {Vector.Re + Charge.Re / eps, Vector.Im + Charge.Im / eps};
  }
};
CellSelfImpedance SquareCellSelfImpedance(double omega, double k, double w, double h);

// Fits the permittivity (F/m) at which the quasi-static self-impedance of one square
// Jx cell of side gridMetres (with its two charge cells and their images at 2h)
// matches in magnitude the same impedance with the rigorous slab correction added.
// The search starts from eps0 (epsR + 1)/2 and rises in steps of eps0/1000 until
// the squared magnitudes agree within 0.1 %, for at most eps0 in all. The
// spectral limit is the one of that cell at this frequency.
double ApproximateEpsEff(double frequencyMHz, double epsR, double heightMetres,
                         double gridMetres, const IntegrationSettings& settings);

}  // namespace lumetra
