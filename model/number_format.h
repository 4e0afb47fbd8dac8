// Number forms of the text files and of the messages.
#pragma once

#include <cstdint>
#include <string>

namespace lumetra {

// R23: exponent form in a field of exactly 23 characters with 15 significant digits,
// e.g. " 1.60000000000000E+0002" and "-2.50000000000000E-0001". The first character
// is the sign: a blank for positive values and zero, "-" for negative ones, so two
// R23 fields written back to back are still separable.
std::string FormatR23(double value);

// The exponent form of a field of the given width: the sign position, one digit,
// the point, width - 9 digits, "E", the exponent sign and four exponent digits, so
// width - 8 significant digits with the mantissa rounded. 100 in a field of 12 is
// " 1.000E+0002"; R23 is the width 23.
std::string FormatExponential(double value, int width);

// I: the shortest decimal form of an integer, without padding.
std::string FormatInteger(std::int64_t value);

// Shortest general form with at most 15 significant digits: plain decimals where
// they are short ("3", "2.5", "0.0001"), exponent form below 1e-4 and from 1e15 on
// ("1E-5", "1.5E15"). Used for the grid line of the .PRO, for message bounds and
// for frequencies shown to the user.
std::string FormatGeneral(double value, int significantDigits = 15);

}  // namespace lumetra
