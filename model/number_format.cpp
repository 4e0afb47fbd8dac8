#include "model/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace lumetra {

std::string FormatR23(double value) {
  if (!std::isfinite(value)) {
    // Never produced by the model (every reader rejects such values), but a field
    // of the right width keeps the line structure readable if it ever happens.
    std::string text = std::isnan(value) ? "NAN" : (value > 0 ? "+INF" : "-INF");
    return std::string(23 - text.size(), ' ') + text;
  }
  char buffer[64];
  // "%.14E" gives one digit, the point, 14 digits and a C-style exponent such as
  // "E+02" or "E-100"; only the exponent needs widening to four digits.
  std::snprintf(buffer, sizeof buffer, "%.14E", std::fabs(value));
  const std::string_view text(buffer);
  const std::size_t e = text.find('E');
  const int exponent = std::atoi(buffer + e + 1);
  char out[32];
  const bool negative = std::signbit(value) && value != 0.0;
  std::snprintf(out, sizeof out, "%c%.*sE%c%04d", negative ? '-' : ' ', static_cast<int>(e),
                buffer, exponent < 0 ? '-' : '+', std::abs(exponent));
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
