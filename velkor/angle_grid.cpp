#include "velkor/angle_grid.h"

#include <cmath>

#include "velkor/constants.h"

namespace velkor {

namespace {

AngleGrid make_grid(double step) {
  AngleGrid grid;
  grid.step = step;
  for (int i = 0; i < AngleGrid::Points; ++i) {
    const double alpha = i * step;
    grid.cos[i] = std::cos(alpha);
    grid.sin[i] = std::sin(alpha);
    grid.weight[i] = (i == 0 || i == AngleGrid::Intervals) ? 0.5 : 1.0;
    grid.inverse_cos[i] = grid.cos[i] != 0.0 ? 1.0 / grid.cos[i] : 0.0;
    grid.inverse_sin[i] = grid.sin[i] != 0.0 ? 1.0 / grid.sin[i] : 0.0;
  }
  return grid;
}

}  // namespace

AngleGrid full_circle_grid() { return make_grid(Pi / 90.0); }

AngleGrid half_circle_grid() { return make_grid(Pi / 180.0); }

}  // namespace velkor
