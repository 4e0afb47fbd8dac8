// The points of a stepped range: start, start + step, start + 2 step, ... up to stop.
//
// Grids, angle cuts and sweeps are typed by the user as start, stop and step, and the
// user expects the stop point whenever it lies on the step: X from 0 to 100 mm in
// steps of 5 has 21 columns. Stepping by repeated addition cannot promise that,
// because 20 additions of 0.005 m overshoot 0.1 m by a rounding error and drop the
// last column. So the points are counted as integers first, with a tolerance far
// below any step a user types, and point i is computed as start + i step.
#pragma once

#include <cstdint>

namespace lumetra {

// Relative slack on the number of steps: a stop that lies within this fraction of a
// step beyond the last whole step still counts as reached.
inline constexpr double SteppedRangeTolerance = 1e-9;

// How many points the linear range holds: 0 when stop lies below start, else
// floor((stop - start) / step + tolerance) + 1, saturated at limit + 1 so that a
// range too fine to visit cannot overflow (also a step too small to change start,
// which repeated addition would never get past). step must be positive.
std::int64_t SteppedPointCount(double start, double stop, double step, std::int64_t limit);

// Point `index` of a linear range.
inline double SteppedPoint(double start, double step, std::int64_t index) {
  return start + static_cast<double>(index) * step;
}

// The same for a geometric range start, start q, start q^2, ... up to stop
// (q > 1, start > 0).
std::int64_t GeometricPointCount(double start, double stop, double factor, std::int64_t limit);
double GeometricPoint(double start, double factor, std::int64_t index);

}  // namespace lumetra
