// Minimal complex arithmetic for the sample loops. std::complex multiplication checks
// its result for NaN to implement the C99 infinity rules, which costs a branch per
// product and keeps the loops from being vectorised; every value in those loops is
// finite, so the textbook formulas suffice.
#pragma once

#include "velkor/constants.h"

namespace velkor {

struct PlainComplex {
  double re = 0.0;
  double im = 0.0;

  PlainComplex() = default;
  constexpr PlainComplex(double r, double i) : re(r), im(i) {}
  PlainComplex(Complex z) : re(z.real()), im(z.imag()) {}
  operator Complex() const { return {re, im}; }
};

inline PlainComplex operator+(PlainComplex a, PlainComplex b) { return {a.re + b.re, a.im + b.im}; }
inline PlainComplex operator-(PlainComplex a, PlainComplex b) { return {a.re - b.re, a.im - b.im}; }
inline PlainComplex operator*(PlainComplex a, PlainComplex b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline PlainComplex operator*(PlainComplex a, double b) { return {a.re * b, a.im * b}; }
inline PlainComplex operator*(double a, PlainComplex b) { return {a * b.re, a * b.im}; }
inline PlainComplex conj(PlainComplex a) { return {a.re, -a.im}; }
inline PlainComplex reciprocal(PlainComplex a) {
  const double scale = 1.0 / (a.re * a.re + a.im * a.im);
  return {a.re * scale, -a.im * scale};
}
inline PlainComplex& operator+=(PlainComplex& a, PlainComplex b) { return a = a + b; }

}  // namespace velkor
