#include "model/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace lumetra {

std::string FormatR23(double value) { return FormatExponential(value, 23); }

std::string FormatExponential(double value, int width) {
  if (!std::isfinite(value)) {
    // Never produced from valid input (every reader rejects such values), but a
    // field of the right width keeps the line structure readable if it happens.
    const std::string text = std::isnan(value) ? "NAN" : (value > 0 ? "+INF" : "-INF");
    const std::size_t size = static_cast<std::size_t>(std::max(width, 0));
    return std::string(size > text.size() ? size - text.size() : 0, ' ') + text;
  }
  const int decimals = std::max(1, width - 9);
  char mantissa[64];
  // "%.*E" rounds the mantissa (a carry such as 9.99995 -> 1.0000E+01 moves into
  // the exponent by itself) and gives a C-style exponent such as "E+02" or
  // "E-100"; only the exponent needs widening to four digits.
  std::snprintf(mantissa, sizeof mantissa, "%.*E", decimals, std::fabs(value));
  const char* e = std::strchr(mantissa, 'E');
  const int exponent = std::atoi(e + 1);
  const bool negative = std::signbit(value) && value != 0.0;
  char out[96];
  std::snprintf(out, sizeof out, "%c%.*sE%c%04d", negative ? '-' : ' ',
                static_cast<int>(e - mantissa), mantissa, exponent < 0 ? '-' : '+',
                std::abs(exponent));
  return out;
}

std::string FormatInteger(std::int64_t value) { return std::to_string(value); }

std::string FormatGeneral(double value, int significantDigits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", significantDigits, value);
  std::string text(buffer);
  const std::size_t e = text.find('E');
  if (e == std::string::npos) return text;
  // C writes "1E-05" and "1.5E+15"; the program's form is "1E-5" and "1.5E15".
  const int exponent = std::atoi(text.c_str() + e + 1);
  return text.substr(0, e + 1) + std::to_string(exponent);
}

}  // namespace lumetra
