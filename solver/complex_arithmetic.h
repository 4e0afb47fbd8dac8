// The complex number of every matrix entry, right-hand side, current and kernel
// value, and the few operations the solver spells out.
//
// Complex is two doubles, real part first (16 bytes), so an array of them has the
// layout BLAS and LAPACK expect of double complex. Addition and scaling by a real
// are written inline where needed.
#pragma once

#include <cmath>

namespace lumetra {

struct Complex {
  double Re = 0.0;
  double Im = 0.0;
};
static_assert(sizeof(Complex) == 2 * sizeof(double), "Complex must match double complex");

inline bool operator==(const Complex& a, const Complex& b) { return a.Re == b.Re && a.Im == b.Im; }

inline Complex CSub(Complex a, Complex b) { return {a.Re - b.Re, a.Im - b.Im}; }

inline Complex CMul(Complex a, Complex b) {
  return {a.Re * b.Re - a.Im * b.Im, a.Im * b.Re + a.Re * b.Im};
}

// a / b by Smith's method: dividing through by the larger part of b keeps the
// intermediate quotient at most 1 in magnitude, so no overflow or needless
// underflow occurs where the naive formula |b|^2 would.
inline Complex CDiv(Complex a, Complex b) {
  if (std::fabs(b.Re) >= std::fabs(b.Im)) {
    const double r = b.Im / b.Re;
    const double den = b.Re + r * b.Im;
    return {(a.Re + a.Im * r) / den, (a.Im - a.Re * r) / den};
  }
  const double r = b.Re / b.Im;
  const double den = b.Re * r + b.Im;
  return {(a.Re * r + a.Im) / den, (a.Im * r - a.Re) / den};
}

// |z| as L * sqrt(1 + (S/L)^2) with L, S the larger and smaller part magnitudes:
// the same scaling idea, without squaring a large part.
inline double CAbs(Complex z) {
  if (z.Re == 0.0 && z.Im == 0.0) return 0.0;
  double large = std::fabs(z.Re), small = std::fabs(z.Im);
  if (small > large) std::swap(large, small);
  const double ratio = small / large;
  return large * std::sqrt(1.0 + ratio * ratio);
}

}  // namespace lumetra
