#include "plots/axis_ticks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumetra {

double TickStep(double range, int maxTicks) {
  if (!(range > 0.0) || !std::isfinite(range) || maxTicks < 1) return 0.0;
  const double raw = range / maxTicks;
  const double decade = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * decade >= raw * (1 - 1e-12)) return factor * decade;
  return 10.0 * decade;
}

std::string TickLabel(double value, double step) {
  if (std::fabs(value) < step * 1e-9) value = 0.0;  // -0 and rounding residue
  char text[64];
  const double size = std::max(std::fabs(value), step);
  std::to_chars_result result;
  if (step >= 1e-3 && size < 1e5) {
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  } else {
    result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 3);
  }
  return std::string(text, result.ptr);
}

std::vector<AxisTick> AxisTicks(double min, double max, int maxTicks) {
  std::vector<AxisTick> ticks;
  if (!std::isfinite(min) || !std::isfinite(max) || !(max > min)) return ticks;
  const double step = TickStep(max - min, maxTicks);
  if (step == 0.0) return ticks;
  const double slack = step * 1e-9;
  for (double k = std::ceil((min - slack) / step); k * step <= max + slack; k += 1.0) {
    const double value = k * step;
    ticks.push_back({value, TickLabel(value, step)});
    if (ticks.size() > 100) break;  // cannot happen with a sound step; never loops on
  }
  return ticks;
}

}  // namespace lumetra
