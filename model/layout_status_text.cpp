#include "model/layout_status_text.h"

#include <cmath>
#include <cstdio>

namespace lumetra {

std::string FormatPosition(double value) {
  // Five significant digits: beyond 999.99 the second decimal is rounded away.
  if (value != 0 && std::isfinite(value)) {
    const int digits = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    if (digits > 3) {
      const double unit = std::pow(10.0, digits - 5);
      value = std::nearbyint(value / unit) * unit;
    }
  }
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string result = text;
  if (result == "-0.00") result = "0.00";
  return result;
}

std::string MousePositionText(double x, double y) {
  return "X=" + FormatPosition(x) + " mm  Y=" + FormatPosition(y) + " mm";
}

std::string MousePositionText(double x, double y, double dx, double dy) {
  return MousePositionText(x, y) + "  dx=" + FormatPosition(dx) + "  dy=" + FormatPosition(dy);
}

}  // namespace lumetra
