// Spectral-domain Green's function of a horizontal surface current on a grounded
// dielectric slab (ground plane at z = 0, slab 0 < z < h of relative permittivity er),
// and the quasi-static asymptote the interaction integrals subtract from it.
//
// With beta the radial wavenumber, the vertical wavenumbers are
//   k1 = -j sqrt(beta^2 - er k0^2) in the slab,  k2 = -j sqrt(beta^2 - k0^2) in the air,
// and the TE and TM transverse-resonance denominators
//   Te = k1 cos(k1 h) + j k2 sin(k1 h),  Tm = er k2 cos(k1 h) + j k1 sin(k1 h).
// The dyadic components
//   exx = -j sin(k1 h) [(er k0^2 - kx^2) k2 cos(k1 h) + j k1 (k0^2 - kx^2) sin(k1 h)] / (Te Tm)
//   exy =  j kx ky sin(k1 h) [k2 cos(k1 h) + j k1 sin(k1 h)] / (Te Tm)
// depend on kx and ky only through kx^2 (ky^2) and kx ky once beta is fixed, because
// the first bracket equals k0^2 Tm - kx^2 (k2 cos + j k1 sin). So one radial sample
// is summarised by three beta-only coefficients and every angular sample costs a few
// multiplications:
//   exx = diagonal + kx^2 transverse,  exy = kx ky transverse,
//   axx = (kx^2 - ee k0^2) asymptote,  axy = kx ky asymptote,
// with ee = (er + 1)/2 the effective permittivity of the asymptote, a homogeneous
// medium with an image at depth 2h: asymptote = (1 - exp(-2 h u)) / ((er + 1) w),
// u = sqrt(beta^2 - ee k0^2), w = -j u.
#pragma once

#include "velkor/constants.h"

namespace velkor {

struct SlabSpectrum {
  Complex diagonal;     // -j k0^2 sin(k1 h) / Te
  Complex transverse;   // j sin(k1 h) (k2 cos(k1 h) + j k1 sin(k1 h)) / (Te Tm)
  Complex asymptote;    // (1 - exp(-2 h u)) / ((er + 1) w)
  double quasi_static;  // ee k0^2, rad^2/m^2

  Complex exx(Complex kx) const { return diagonal + kx * kx * transverse; }
  Complex eyy(Complex ky) const { return exx(ky); }
  Complex exy(Complex kx, Complex ky) const { return kx * ky * transverse; }
  Complex axx(Complex kx) const { return (kx * kx - quasi_static) * asymptote; }
  Complex ayy(Complex ky) const { return axx(ky); }
  Complex axy(Complex kx, Complex ky) const { return kx * ky * asymptote; }

  // exx - axx = offset() + slope() kx^2 (eyy - ayy likewise in ky) and
  // exy - axy = slope() kx ky: the integrands are affine in kx^2 once beta is fixed.
  Complex offset() const { return diagonal + quasi_static * asymptote; }
  Complex slope() const { return transverse - asymptote; }
};

// Coefficients at a complex radial wavenumber given by its square (principal square
// roots throughout, so beta2 must carry a non-negative imaginary part, as it does on
// the integration path and for real beta).
SlabSpectrum slab_green_function(Complex beta2, double k0, double er, double h);

// On the real axis beyond sqrt(er) k0 every vertical wavenumber is negative imaginary
// (evanescent fields), and the corrected kernels are purely imaginary:
//   exx - axx = j (offset + slope kx^2),  exy - axy = j slope kx ky.
// Written with tanh(|k1| h) so that no hyperbolic function overflows however thick
// the slab is electrically.
struct RealAxisSpectrum {
  double offset;  // rad/m
  double slope;   // m/rad
};

// Requires beta > sqrt(er) k0.
RealAxisSpectrum real_axis_spectrum(double beta, double k0, double er, double h);

}  // namespace velkor
