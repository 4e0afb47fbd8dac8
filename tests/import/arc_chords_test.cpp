// Approximating arcs by chords: every corner on the circle, every chord within the
// allowed deviation, and no more chords than that needs.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

#include "import/kicad_board.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

double Distance(KicadPoint a, KicadPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(ArcChords, QuarterCircleStaysWithinDeviationWithFewestChords) {
  const KicadPoint centre{40, 40};
  const double r = 10.0;
  const KicadPoint start{30, 40}, end{40, 30};
  const KicadPoint mid{40 - r / std::sqrt(2.0), 40 - r / std::sqrt(2.0)};
  const double tolerance = 0.01;
  const auto points = ArcChords(start, mid, end, tolerance);
  // A chord over the angle t stands r (1 - cos(t/2)) off the arc.
  const double maxStep = 2.0 * std::acos(1.0 - tolerance / r);
  const std::size_t chords = static_cast<std::size_t>(std::ceil((std::numbers::pi / 2) / maxStep));
  ASSERT_EQ(points.size(), chords + 1);
  EXPECT_EQ(std::tie(points.front().x, points.front().y, points.back().x, points.back().y),
            std::tie(start.x, start.y, end.x, end.y));
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(Distance(points[i], centre), r, 1e-9);
    // The arc runs through the upper-left quadrant only.
    EXPECT_LE(std::max(points[i].x, points[i].y), 40 + 1e-9);
    if (i > 0) {
      const KicadPoint chordMid{(points[i].x + points[i - 1].x) / 2,
                                (points[i].y + points[i - 1].y) / 2};
      EXPECT_LE(r - Distance(chordMid, centre), tolerance + 1e-12);
    }
  }
}

TEST(ArcChords, MidPointChoosesTheLongWayRound) {
  // Same ends, mid point on the far side: three quarters of the circle.
  const KicadPoint start{30, 40}, end{40, 30}, mid{50, 40};
  const auto points = ArcChords(start, mid, end, 0.01);
  const auto quarter = ArcChords(start, {40 - 7.0710678118654755, 40 - 7.0710678118654755}, end,
                                 0.01);
  EXPECT_GE(points.size() - 1, 3 * (quarter.size() - 1) - 2);
  bool passesRight = false;
  for (const KicadPoint& p : points) {
    EXPECT_NEAR(Distance(p, {40, 40}), 10.0, 1e-9);
    if (p.x > 49.9) passesRight = true;
  }
  EXPECT_TRUE(passesRight);
}

TEST(ArcChords, StraightOrDegenerateArcsGiveOneChord) {
  const auto line = ArcChords({0, 0}, {1, 1}, {2, 2}, 0.01);
  ASSERT_EQ(line.size(), 2u);
  EXPECT_EQ(line[1].x, 2.0);
  EXPECT_EQ(ArcChords({1, 1}, {1, 1}, {1, 1}, 0.01).size(), 2u);
  // A coarse tolerance on a small arc still keeps both ends.
  EXPECT_GE(ArcChords({30, 40}, {40, 50}, {50, 40}, 100.0).size(), 2u);
  // A tolerance of zero does not ask for endless chords.
  EXPECT_LE(ArcChords({30, 40}, {40, 50}, {50, 40}, 0.0).size(), 4097u);
}

TEST(RotateOnScreen, CounterClockwiseOnScreenWithYDown) {
  // Turning the point to the right by 90 degrees counter-clockwise on screen
  // moves it up the screen, which is negative y.
  const KicadPoint p = RotateOnScreen({1, 0}, 90), q = RotateOnScreen({1, 0}, -90);
  EXPECT_EQ(std::tie(p.x, p.y, q.y), std::make_tuple(0.0, -1.0, 1.0));
  const KicadPoint r = RotateOnScreen({1, 0}, 45);
  testing::ExpectNear({r.x, r.y}, {std::sqrt(0.5), -std::sqrt(0.5)}, 1e-15);
}

}  // namespace
}  // namespace lumetra
