// Against a real peer: two parallel wires over a perfectly conducting ground, each
// grounded at both ends and fed near one end, solved by Debian's nec2c (one run per
// driven port, the other port's wire left whole, which is its short). Y21 is the
// current at port 2 for 1 V at port 1. Our strips of width w are the wires of
// radius w/4.
//
// The port sits 5 mm from the post, not on the first segment: nec2c's delta-gap
// source on a segment that touches a bend is not converged (the 100 mm loop's
// inductance at 30 MHz moves between 61.8 and 68.8 nH with the segmentation there,
// against 63.3-63.5 nH for a feed 5 mm in and the closed form's 63.4 nH), while the
// strip model's answer does not depend on where along the loop the source sits.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

#include "solver/computation_control.h"
#include "studies/network/network_run.h"
#include "tests/engine/nec_reference.h"
#include "tests/network/network_fixtures.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::TempDir;

struct Geometry {
  double LengthM = 0.1, HeightM = 0.005, SpacingM = 0.01, RadiusM = 0.0005;
  int Horizontal = 50, Vertical = 4;  // segments of 2 and 1.25 mm
  int FeedSegment = 3;                // of the horizontal wire: centred 5 mm in, as our port
};

// Per line its left post, the line and its right post; the feed segment of line k
// (0-based) is counted over the wires before it.
std::vector<testing::NecWire> Wires(const Geometry& g) {
  std::vector<testing::NecWire> wires;
  for (int k = 0; k < 2; ++k) {
    const double y = k * g.SpacingM, x1 = g.LengthM, h = g.HeightM, r = g.RadiusM;
    wires.push_back({0, y, 0, 0, y, h, r, g.Vertical});
    wires.push_back({0, y, h, x1, y, h, r, g.Horizontal});
    wires.push_back({x1, y, h, x1, y, 0, r, g.Vertical});
  }
  return wires;
}

int FeedIndex(const Geometry& g, int line) {
  return line * (g.Horizontal + 2 * g.Vertical) + g.Vertical + g.FeedSegment - 1;
}

TEST(NetworkPeer, MutualAdmittanceOfGroundedWiresAgreesWithNec2c) {
  const Geometry g;
  const double start = 100, step = 100;
  const int count = 5;
  const auto nec = testing::Nec2cRun(Wires(g), 2, g.FeedSegment, true, start, step, count);
  ASSERT_TRUE(nec) << "nec2c is not installed (scripts/install-deps.sh installs it)";

  TempDir dir;
  testing::RecordingUi ui;
  testing::LinesLayout layout;
  layout.LengthMm = g.LengthM * 1e3;
  layout.WidthMm = 4 * g.RadiusM * 1e3;
  layout.SpacingMm = g.SpacingM * 1e3;
  layout.Cells = 100;  // 1 x 2 mm cells: the edge-singular strips on non-square cells
  layout.PortElement = 5;
  layout.GroundedEnds = true;
  Project p = testing::ParallelLines(dir, layout);
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "5";
  ComputationControl control(ui);
  ComputationSettings settings = testing::NetworkSettings(start, start + step * (count - 1), step);
  settings.Accuracy = SolverAccuracy::High;
  const network::NetworkResult ours = network::RunNetwork(p, settings, control);
  ASSERT_EQ(ours.Points.size(), static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < ours.Points.size(); ++i) {
    const network::NetworkPoint& point = ours.Points[i];
    const testing::NecPoint& peer = (*nec)[i];
    ASSERT_NEAR(peer.FrequencyMHz, point.FrequencyMHz, 1e-6);
    ASSERT_EQ(peer.Currents.size(), static_cast<std::size_t>(2 * (g.Horizontal + 2 * g.Vertical)));
    const double y21Nec = std::abs(peer.Currents[FeedIndex(g, 1)]);
    const double y11Nec = std::abs(peer.Currents[FeedIndex(g, 0)]);
    const double y21 = std::abs(point.Y(1, 0)), y11 = std::abs(point.Y(0, 0));
    std::printf("%5.0f MHz  |Y21| %.4e S (nec2c %.4e, %+.1f %%)  |Y11| %.4e S (nec2c %.4e)\n",
                point.FrequencyMHz, y21, y21Nec, 100 * (y21 / y21Nec - 1), y11, y11Nec);
    // High accuracy: |Y21| +0.8 to +0.9 %, |Y11| 0 to -2.0 % from 100 to 500 MHz.
    // Standard's uniform current across the strip makes each a thinner wire and
    // its posts lose inductance: |Y21| -11 to -13 %, which is why this is High's check.
    EXPECT_NEAR(y11 / y11Nec, 1.0, 0.03) << point.FrequencyMHz << " MHz";
    EXPECT_NEAR(y21 / y21Nec, 1.0, 0.03) << point.FrequencyMHz << " MHz";
  }
}

}  // namespace
}  // namespace lumetra
