// The cell texts of the result lists: two number forms, and magnitude and phase of
// a complex value.
#pragma once

#include <string>

namespace lumetra {

// E(P, D): exponent form with P significant digits and at least D exponent digits,
// e.g. E(4, 2) of 0.001234 is "1.234E-03"; zero is "0.000E+00".
std::string FormatListExponent(double value, int precision, int exponentDigits);

// F(P, D): the value rounded to P significant digits (or to D decimals where that
// is coarser) and shown with D decimals: F(2, 2) of 45.678 is "46.00", F(3, 2) of
// 12.345 is "12.30". A value whose rounded integer part has more than P digits is
// shown as E(P, D) instead. A value that rounds to zero shows no minus sign.
std::string FormatListFixed(double value, int precision, int decimals);

// sqrt(re^2 + im^2), without overflow for large parts.
double ListMagnitude(double re, double im);

// The phase the lists show, always within -90..90 degrees: the plain arctangent of
// im / re. A real part that is zero (for the near-field lists: at most 1e-38 in
// magnitude) gives +90 when im > 0, else -90.
double ListPhase(double re, double im, bool nearField);

}  // namespace lumetra
