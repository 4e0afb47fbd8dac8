#include "studies/frequency_plan.h"

#include <algorithm>

#include "model/stepped_range.h"

namespace lumetra {

std::size_t CountSweepFrequencies(const SweepRange& sweep) {
  const std::int64_t count =
      sweep.Logarithmic ? GeometricPointCount(sweep.Start, sweep.Stop, sweep.Step, MaxSweepPoints)
                        : SteppedPointCount(sweep.Start, sweep.Stop, sweep.Step, MaxSweepPoints);
  return static_cast<std::size_t>(count);
}

std::vector<double> SweepFrequencies(const SweepRange& sweep) {
  const auto count = static_cast<std::int64_t>(
      std::min<std::size_t>(CountSweepFrequencies(sweep), MaxSweepPoints));
  std::vector<double> frequencies;
  frequencies.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i)
    frequencies.push_back(sweep.Logarithmic ? GeometricPoint(sweep.Start, sweep.Step, i)
                                            : SteppedPoint(sweep.Start, sweep.Step, i));
  return frequencies;
}

}  // namespace lumetra
