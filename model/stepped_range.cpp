#include "model/stepped_range.h"

#include <cmath>

namespace lumetra {

namespace {

// floor(steps + tolerance) + 1, saturated; steps is the (real) number of steps from
// start to stop.
std::int64_t CountFromSteps(double steps, std::int64_t limit) {
  if (!(steps >= -SteppedRangeTolerance)) return 0;  // stop below start (or NaN)
  const double whole = std::floor(steps + SteppedRangeTolerance * (1.0 + std::fabs(steps)));
  if (!(whole < static_cast<double>(limit))) return limit + 1;
  return static_cast<std::int64_t>(whole) + 1;
}

}  // namespace

std::int64_t SteppedPointCount(double start, double stop, double step, std::int64_t limit) {
  if (!(step > 0.0)) return stop < start ? 0 : limit + 1;
  if (stop < start) return 0;
  return CountFromSteps((stop - start) / step, limit);
}

std::int64_t GeometricPointCount(double start, double stop, double factor, std::int64_t limit) {
  if (!(start > 0.0) || !(factor > 1.0)) return stop < start ? 0 : limit + 1;
  if (stop < start) return 0;
  return CountFromSteps(std::log(stop / start) / std::log(factor), limit);
}

double GeometricPoint(double start, double factor, std::int64_t index) {
  return start * std::pow(factor, static_cast<double>(index));
}

}  // namespace lumetra
