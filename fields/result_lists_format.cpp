#include "fields/result_lists_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lumetra {

namespace {

constexpr double DegreesPerRadian = 57.29577951308232;
// Below this the near-field lists take a real part as zero.
constexpr double NearFieldZeroRealPart = 1e-38;

bool NotFinite(double value, std::string& text) {
  if (std::isfinite(value)) return false;
  text = std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  return true;
}

bool AllZeroDigits(const char* text) {
  for (; *text; ++text)
    if (*text >= '1' && *text <= '9') return false;
  return true;
}

}  // namespace

std::string FormatListExponent(double value, int precision, int exponentDigits) {
  std::string special;
  if (NotFinite(value, special)) return special;
  precision = std::clamp(precision, 1, 17);
  exponentDigits = std::clamp(exponentDigits, 1, 4);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*E", precision - 1, std::fabs(value));
  const char* e = std::strchr(buffer, 'E');
  const int exponent = std::atoi(e + 1);
  const bool negative = value < 0 && !AllZeroDigits(buffer);
  char out[96];
  std::snprintf(out, sizeof out, "%s%.*sE%c%0*d", negative ? "-" : "", static_cast<int>(e - buffer),
                buffer, exponent < 0 ? '-' : '+', exponentDigits, std::abs(exponent));
  return out;
}

std::string FormatListFixed(double value, int precision, int decimals) {
  std::string special;
  if (NotFinite(value, special)) return special;
  precision = std::clamp(precision, 1, 17);
  decimals = std::clamp(decimals, 0, 18);
  const double magnitude = std::fabs(value);
  // The decimal exponent after rounding to the precision: 9.96 to two digits is
  // 10, whose integer part has two digits.
  char scientific[64];
  std::snprintf(scientific, sizeof scientific, "%.*e", precision - 1, magnitude);
  const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
  if (magnitude != 0.0 && exponent + 1 > precision)
    return FormatListExponent(value, precision, decimals);

  // Digits after the point that the precision leaves; one rounding only, at the
  // coarser of the two positions.
  const int significantDecimals = magnitude == 0.0 ? 0 : precision - 1 - exponent;
  char digits[96];
  if (significantDecimals > decimals) {
    std::snprintf(digits, sizeof digits, "%.*f", decimals, magnitude);
  } else {
    std::snprintf(digits, sizeof digits, "%.*f", significantDecimals, magnitude);
  }
  std::string text(digits);
  const int shown = significantDecimals > decimals ? decimals : significantDecimals;
  if (shown < decimals) {
    if (shown == 0) text += '.';
    text.append(static_cast<std::size_t>(decimals - shown), '0');
  }
  if (value < 0 && !AllZeroDigits(digits)) text.insert(text.begin(), '-');
  return text;
}

double ListMagnitude(double re, double im) {
  if (re == 0.0 && im == 0.0) return 0.0;
  return std::hypot(re, im);
}

double ListPhase(double re, double im, bool nearField) {
  const bool zeroRealPart = nearField ? std::fabs(re) <= NearFieldZeroRealPart : re == 0.0;
  if (zeroRealPart) return im > 0 ? 90.0 : -90.0;
  return std::atan(im / re) * DegreesPerRadian;
}

}  // namespace lumetra
