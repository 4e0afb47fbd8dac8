// The frequencies of a run: one, a linear or logarithmic sweep, or a list.
#pragma once

#include <cstddef>
#include <vector>

namespace lumetra {

struct SweepRange {
  double Start = 0.0, Stop = 0.0, Step = 0.0;  // MHz; Step is a factor for a log sweep
  bool Logarithmic = false;
};

// Start, then start + step (or start x factor), ... up to the last value not above
// Stop, accumulated without rounding so a step that lands a rounding error above
// Stop omits that point. A step that no longer changes the value ends the sweep
// instead of repeating the same frequency for ever.
std::vector<double> SweepFrequencies(const SweepRange& sweep);

// How many points SweepFrequencies gives, without building the list.
std::size_t CountSweepFrequencies(const SweepRange& sweep);

}  // namespace lumetra
