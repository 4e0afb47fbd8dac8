// Fourier transforms of the current elements, in the convention
// F(kx, ky) = integral of J(x, y) exp(j (kx x + ky y)) over the element.
//
// A unit pulse of half-width c transforms to 2 sin(k c)/k; pulse_transform is half of
// that, s(k, c) = sin(k c)/k, whose removable singularity at k = 0 is replaced by its
// limit c whenever |k| <= SmallArgument (the complex modulus for complex k).
//   curr(kx, ky; ax, ay) = 4 s(kx, ax) s(ky, ay)  uniform rectangular source element
//   testx(kx; at)        = 2 s(kx, at)            thin testing segment along x
//   testy(ky; at)        = 2 s(ky, at)            thin testing segment along y
// An edge-singular source (bessel_j0.h) has a J0(k a) across its direction in the
// place of s(k, a): 4 s(kx, ax) ay J0(ky ay) along x, 4 ax J0(kx ax) s(ky, ay) along y.
#pragma once

#include <cmath>

#include "velkor/bessel_j0.h"
#include "velkor/constants.h"

namespace velkor {

inline double pulse_transform(double k, double c) {
  return std::abs(k) <= SmallArgument ? c : std::sin(k * c) / k;
}

inline Complex pulse_transform(Complex k, double c) {
  return std::abs(k) <= SmallArgument ? Complex(c) : std::sin(k * c) / k;
}

inline Complex source_transform(Complex kx, Complex ky, double ax, double ay) {
  return 4.0 * pulse_transform(kx, ax) * pulse_transform(ky, ay);
}

inline Complex edge_source_transform(Complex kx, Complex ky, double ax, double ay, bool along_x) {
  return along_x ? 4.0 * pulse_transform(kx, ax) * edge_transform(ky, ay)
                 : 4.0 * edge_transform(kx, ax) * pulse_transform(ky, ay);
}

inline Complex segment_transform(Complex k, double at) { return 2.0 * pulse_transform(k, at); }

}  // namespace velkor
