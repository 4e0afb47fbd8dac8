// Tick marks for a value axis: round steps of 1, 2 or 5 times a power of ten, and
// labels in plain numbers where they stay short, in exponent form otherwise.
#pragma once

#include <string>
#include <vector>

namespace lumetra {

struct AxisTick {
  double Value = 0.0;
  std::string Label;
};

// The ticks inside [min, max] (both included, up to a rounding of the step), at
// most about maxTicks of them; none for an empty or non-finite range.
std::vector<AxisTick> AxisTicks(double min, double max, int maxTicks = 8);
// The step AxisTicks uses: the smallest 1, 2 or 5 x 10^n at least range / maxTicks.
double TickStep(double range, int maxTicks);
// A tick value as text: fixed with as many decimals as the step needs while the
// numbers stay between 1e-3 and 1e5 in size, otherwise "1.5e-07".
std::string TickLabel(double value, double step);

}  // namespace lumetra
