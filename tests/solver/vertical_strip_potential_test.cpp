// The depth-averaged test of a ground point's vertical current. At low frequency
// the integrals of e^(-jkR)/R become the static potential of a uniform rectangle,
// which has a closed form; its average over the depth of the path, taken by a fine
// rule, is the reference. (With the fill's number of Gauss points the rule's own
// error is below 3e-4; one point, the potential at mid-depth, is several per cent
// off, and the top-end test of the standard model a third low.)
#include <gtest/gtest.h>

#include <cmath>

#include "solver/cell_integrals.h"
#include "solver/vertical_strip_potential.h"

namespace lumetra {
namespace {

// Integral of 1/R over [0, x] x [0, y] seen from height z over the corner.
double CornerPotential(double x, double y, double z) {
  const double r = std::sqrt(x * x + y * y + z * z);
  double value = 0.0;
  if (x != 0.0) value += x * std::log((y + r) / std::hypot(x, z));
  if (y != 0.0) value += y * std::log((x + r) / std::hypot(y, z));
  if (z != 0.0) value -= z * std::atan(x * y / (z * r));
  return value;
}

// Integral of 1/R over [x1, x2] x [y1, y2] seen from (0, 0, z).
double RectanglePotential(double x1, double x2, double y1, double y2, double z) {
  const auto f = [z](double x, double y) {
    return std::copysign(1.0, x) * std::copysign(1.0, y) *
           CornerPotential(std::fabs(x), std::fabs(y), z);
  };
  return f(x2, y2) - f(x1, y2) - f(x2, y1) + f(x1, y1);
}

// The static reference: the strip with its image (width w, depth 0..2h) seen from
// depth t at the offset `along` and the distance `perpendicular`, averaged over
// t in 0..h by 20000 midpoints.
double StaticDepthAverage(double width, double height, double along, double perpendicular) {
  const int n = 20000;
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    const double t = height * (i + 0.5) / n;
    sum += RectanglePotential(-width / 2 - along, width / 2 - along, -t, 2 * height - t,
                              perpendicular);
  }
  return sum / n;
}

constexpr double LowK = 2 * M_PI * 1e6 / 3e8;  // 1 MHz: static within 1e-6 over 20 mm

// A path five times deeper than the strip is wide: the self term carries the small
// floor of the self-cell integral's angular step (about 0.4 %), the mutual one at
// 8 mm the rule's own error.
TEST(VerticalStripPotential, DeepPathMatchesTheStaticReference) {
  const double w = 2e-3, h = 10e-3;
  SelfIntegralMemo memo(LowK);
  EXPECT_NEAR(SelfDepthAveragedPotential(memo, w, h, DepthTestPoints).Re /
                  StaticDepthAverage(w, h, 0.0, 0.0), 1.0, 5e-3);
  EXPECT_NEAR(DepthAveragedPotential(LowK, {0.0, 0.0, 8e-3, w, h}, DepthTestPoints).Re /
                  StaticDepthAverage(w, h, 0.0, 8e-3), 1.0, 1e-3);
}

TEST(VerticalStripPotential, ShallowAndOffsetPathsAndBadRules) {
  // A post of 1.6 mm, a neighbour one cell along the edge in its own plane, and
  // one diagonal: the fill's rule stays within 0.2 % of the reference.
  const double w = 2e-3, h = 1.6e-3;
  SelfIntegralMemo memo(LowK);
  EXPECT_NEAR(SelfDepthAveragedPotential(memo, w, h, DepthTestPoints).Re /
                  StaticDepthAverage(w, h, 0.0, 0.0), 1.0, 2e-3);
  for (const auto& [along, perpendicular] : {std::pair{4e-3, 0.0}, std::pair{2e-3, 2e-3}}) {
    const double reference = StaticDepthAverage(w, h, along, perpendicular);
    const double value =
        DepthAveragedPotential(LowK, {along, 0.0, perpendicular, w, h}, DepthTestPoints).Re;
    EXPECT_NEAR(value / reference, 1.0, 2e-3) << along << " " << perpendicular;
  }
  EXPECT_THROW(DepthAveragedPotential(LowK, {0, 0, 1e-3, w, h}, 0), std::invalid_argument);
  EXPECT_THROW(SelfDepthAveragedPotential(memo, w, h, 17), std::invalid_argument);
}

}  // namespace
}  // namespace lumetra
