// Sines and cosines of angles that grow in equal steps. Along a straight piece of the
// radial path, beta = beta0 + n dbeta, so at a fixed spectral angle every argument of
// the element transforms and of the phase factor (kx ax, ky ay, kx dx + ky dy, ...)
// grows by a fixed amount from one radial sample to the next. The angle-addition
// formulas then advance cos and sin with four multiplications instead of calls to the
// trigonometric functions. Both are carried (rather than exp(j z) alone) so that a
// small sine keeps its relative accuracy: near z = 0 the update adds terms of one sign.
#pragma once

#include <cmath>

#include "velkor/plain_complex.h"

namespace velkor {

struct RealSineCosine {
  double cos = 1.0;
  double sin = 0.0;
};

inline RealSineCosine real_sin_cos(double z) { return {std::cos(z), std::sin(z)}; }

// z -> z + step.
inline void advance(RealSineCosine& value, const RealSineCosine& step) {
  const double c = value.cos * step.cos - value.sin * step.sin;
  const double s = value.sin * step.cos + value.cos * step.sin;
  value.cos = c;
  value.sin = s;
}

struct ComplexSineCosine {
  PlainComplex cos{1.0, 0.0};
  PlainComplex sin{0.0, 0.0};
};

// cos(a + j b) = cos a cosh b - j sin a sinh b, sin(a + j b) = sin a cosh b + j cos a sinh b,
// with cosh and sinh from one expm1: for e = exp(b) - 1,
// sinh b = e (e + 2) / (2 (e + 1)) and cosh b = ((e + 1) + 1/(e + 1)) / 2, neither of
// which cancels for small b.
inline ComplexSineCosine complex_sin_cos(PlainComplex z) {
  const double c = std::cos(z.re);
  const double s = std::sin(z.re);
  const double e = std::expm1(z.im);
  const double inverse_growth = 1.0 / (e + 1.0);
  const double sh = 0.5 * e * (e + 2.0) * inverse_growth;
  const double ch = 0.5 * ((e + 1.0) + inverse_growth);
  return {{c * ch, -s * sh}, {s * ch, c * sh}};
}

// z -> z + step, for complex z.
inline void advance(ComplexSineCosine& value, const ComplexSineCosine& step) {
  const PlainComplex c = value.cos * step.cos - value.sin * step.sin;
  const PlainComplex s = value.sin * step.cos + value.cos * step.sin;
  value.cos = c;
  value.sin = s;
}

// exp(j z) for complex z.
inline PlainComplex exp_j(PlainComplex z) {
  const double magnitude = std::exp(-z.im);
  return {magnitude * std::cos(z.re), magnitude * std::sin(z.re)};
}

}  // namespace velkor
