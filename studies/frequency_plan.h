// The frequencies of a run: one, a linear or logarithmic sweep, or a list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra {

struct SweepRange {
  double Start = 0.0, Stop = 0.0, Step = 0.0;  // MHz; Step is a factor for a log sweep
  bool Logarithmic = false;
};

// The most points one sweep may hold: far more than any measurement grid, and few
// enough that the list of frequencies is a trifle in memory.
inline constexpr std::int64_t MaxSweepPoints = 100000;

inline constexpr const char* TooManySweepPointsMessage =
    "Error: The sweep has more than 100000 frequency points, choose a larger step";

// Start, then start + i step (or start x factor^i), up to the last value not above
// Stop. The points are counted as integers, so a stop that lies on the step is
// always included even when the sum of the steps lands a rounding error above it.
// At most MaxSweepPoints values are returned; validation refuses a finer sweep.
std::vector<double> SweepFrequencies(const SweepRange& sweep);

// How many points SweepFrequencies gives (MaxSweepPoints + 1 for a sweep that is
// too fine), without building the list.
std::size_t CountSweepFrequencies(const SweepRange& sweep);

}  // namespace lumetra
