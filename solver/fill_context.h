// What every piece of the matrix fill reads (shared, read-only while the entries
// are filled) and what each worker thread keeps for itself.
#pragma once

#include <vector>

#include "solver/cell_integral_cache.h"
#include "solver/cell_offset_grid.h"
#include "solver/charge_potentials.h"
#include "solver/element_lists.h"
#include "solver/fill_geometry.h"
#include "solver/frequency_constants.h"
#include "solver/one_cell_wide_strips.h"
#include "solver/solver_settings.h"

namespace lumetra {

struct FillContext {
  FillContext(const ElementLists& elements, const FrequencyConstants& constants)
      : Elements(elements), Geometry(BuildFillGeometry(elements)), Constants(constants) {}

  const ElementLists& Elements;
  FillGeometry Geometry;
  FrequencyConstants Constants;
  bool Image = false;  // image terms (always with ground points)
  SolverAccuracy Accuracy = SolverAccuracy::Standard;
  OneCellWideStrips Strips;  // High accuracy only: cells with the edge-singular distribution

  ChargePotentialTable Free;      // charge cells seen in the trace plane
  ChargePotentialTable Mirror;    // the same cells seen from 2h (their images), with Image
  std::vector<Complex> ChargeSelf;  // 4 * SelfCellIntegral(dx/2, dy/2) of each charge cell

  // Cell integrals on offset grids, shared by the workers (their caches serve the rest):
  GriddedSources ChargeGrids;     // charge cells from the observation points
  GriddedSources JxGrids, JyGrids;  // current elements from the centres of those of their direction

  // j * Omega * mu0 / (4 pi) times length times the vector-potential integral gives
  // the induced voltage of a current density; this is Omega * mu0 * (1/pi) * 0.25.
  double VectorFactor() const { return Constants.Omega * Mu0 * OneOverPi * 0.25; }
  // The potential of a charge density is the integral over 4 pi EpsEff; the charge
  // density of a current density J leaving a cell of length d is J / (j Omega d).
  double ScalarDenominator() const { return FourPi * Constants.Omega * Constants.EpsEff; }
  double MirrorDistance() const { return 2.0 * Constants.Height; }
};

struct WorkerScratch {
  WorkerScratch(double k, double mirrorDistance, bool accurateSelf = false)
      : Free(k, 0.0), Mirror(k, mirrorDistance), Self(k, accurateSelf), StripFree(k, 0.0),
        StripMirror(k, mirrorDistance) {}
  CellIntegralCache Free;    // in the trace plane
  CellIntegralCache Mirror;  // at 2h
  SelfIntegralMemo Self;
  StripIntegralCache StripFree;    // cells of one-cell-wide strips, in the trace plane
  StripIntegralCache StripMirror;  // and at 2h
};

// i * x
inline Complex TimesJ(Complex x) { return {-x.Im, x.Re}; }
inline Complex CAdd(Complex a, Complex b) { return {a.Re + b.Re, a.Im + b.Im}; }
inline Complex CScale(Complex a, double s) { return {a.Re * s, a.Im * s}; }

}  // namespace lumetra
