// The Bessel function J0, the transform across a strip of the edge-singular
// distribution 1 / (pi sqrt(a^2 - s^2)) of a thin flat strip's current and charge:
// its integral against exp(j k s) over [-a, a] is J0(k a).
//
// Real arguments (the real-axis tail): the rational and asymptotic fits of Hart et
// al. as tabulated in Numerical Recipes, absolute error below 1e-8. Complex arguments
// (the legs off the real axis, where |z| stays small): the power series up to
// |z| = 20, beyond it the first terms of the Hankel expansion.
#pragma once

#include <cmath>

#include "velkor/constants.h"

namespace velkor {

inline double bessel_j0(double x) {
  const double ax = std::abs(x);
  if (ax < 8.0) {
    const double y = x * x;
    const double p = 57568490574.0 +
                     y * (-13362590354.0 +
                          y * (651619640.7 + y * (-11214424.18 + y * (77392.33017 + y * (-184.9052456)))));
    const double q = 57568490411.0 +
                     y * (1029532985.0 + y * (9494680.718 + y * (59272.64853 + y * (267.8532712 + y))));
    return p / q;
  }
  const double z = 8.0 / ax;
  const double y = z * z;
  const double shifted = ax - 0.25 * Pi;
  const double p = 1.0 + y * (-0.1098628627e-2 +
                              y * (0.2734510407e-4 + y * (-0.2073370639e-5 + y * 0.2093887211e-6)));
  const double q = -0.1562499995e-1 +
                   y * (0.1430488765e-3 + y * (-0.6911147651e-5 + y * (0.7621095161e-6 - y * 0.934935152e-7)));
  return std::sqrt(2.0 / (Pi * ax)) * (std::cos(shifted) * p - z * std::sin(shifted) * q);
}

// The same with cos x and sin x supplied (the real-axis tail carries them by
// recurrence), so that large arguments need no trigonometric call: with
// sin|x| = sign(x) sin x, cos(|x| - pi/4) = (cos x + sin|x|)/sqrt(2) and
// sin(|x| - pi/4) = (sin|x| - cos x)/sqrt(2).
inline double bessel_j0(double x, double cos_x, double sin_x) {
  const double ax = std::abs(x);
  if (ax < 8.0) return bessel_j0(x);
  const double sin_ax = x < 0.0 ? -sin_x : sin_x;
  constexpr double half_root2 = 0.70710678118654752440;
  const double cos_shifted = (cos_x + sin_ax) * half_root2;
  const double sin_shifted = (sin_ax - cos_x) * half_root2;
  const double z = 8.0 / ax;
  const double y = z * z;
  const double p = 1.0 + y * (-0.1098628627e-2 +
                              y * (0.2734510407e-4 + y * (-0.2073370639e-5 + y * 0.2093887211e-6)));
  const double q = -0.1562499995e-1 +
                   y * (0.1430488765e-3 + y * (-0.6911147651e-5 + y * (0.7621095161e-6 - y * 0.934935152e-7)));
  return std::sqrt(2.0 / (Pi * ax)) * (cos_shifted * p - z * sin_shifted * q);
}

inline Complex bessel_j0(Complex z) {
  if (std::abs(z) <= 20.0) {
    const Complex quarter = -0.25 * z * z;
    Complex term = 1.0, sum = 1.0;
    for (int m = 1; m < 80; ++m) {
      term *= quarter / (double(m) * m);
      sum += term;
      if (std::abs(term) < 1e-17 * std::abs(sum)) break;
    }
    return sum;
  }
  // J0(z) = sqrt(2 / (pi z)) (P cos(z - pi/4) - Q sin(z - pi/4)) for Re z > 0; J0 is even.
  const Complex w = z.real() < 0 ? -z : z;
  const Complex inverse2 = 1.0 / (w * w);
  const Complex p = 1.0 + inverse2 * (-9.0 / 128.0 + inverse2 * (3675.0 / 32768.0));
  const Complex q = (1.0 / w) * (-1.0 / 8.0 + inverse2 * (75.0 / 1024.0 + inverse2 * (-59535.0 / 262144.0)));
  const Complex shifted = w - 0.25 * Pi;
  return std::sqrt(2.0 / (Pi * w)) * (p * std::cos(shifted) - q * std::sin(shifted));
}

// The across factor of an edge-singular source of half width a, in the place of the
// pulse transform sin(k a)/k: a J0(k a) (both tend to a as k -> 0).
inline double edge_transform(double k, double a) { return a * bessel_j0(k * a); }
inline Complex edge_transform(Complex k, double a) { return a * bessel_j0(k * a); }

}  // namespace velkor
