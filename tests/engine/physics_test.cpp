// The computed currents and fields against physics: a wire-antenna solver on the
// equivalent wire, the Hertzian dipole and the power balance over a ground plane
// (in free space: loads_and_losses_test; the gain of the half-wave dipole: its
// pattern plot, plots/pattern_data_test).
#include <gtest/gtest.h>

#include <cmath>

#include "fields/result_readers.h"
#include "model/project_files.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/engine/nec_reference.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::FirstResonance;
using testing::Pattern;
using testing::PortImpedances;
using testing::RadiatedPower;
using testing::ReadPattern;
using testing::RecordingUi;
using testing::SingleFrequency;
using testing::StripDipole;
using testing::TempDir;

// A flat strip of width w radiates like a round wire of radius w/4.
TEST(Physics, HalfWaveStripDipoleResonatesLikeTheEquivalentWire) {
  TempDir dir;
  RecordingUi ui;
  Project dipole = StripDipole(dir, 100, 2, 50);
  const ComputationReport report = Compute(dipole, testing::LinearSweep(1300, 1500, 10), ui, dir);
  ASSERT_EQ(report.Points.size(), 21u);
  const auto ours = FirstResonance(PortImpedances(report));
  const auto nec = testing::Nec2cDipole(0.1, 0.0005, 51, 1300, 10, 21);
  ASSERT_TRUE(nec) << "nec2c is not installed (scripts/install-deps.sh installs it)";
  const auto reference = FirstResonance(*nec);
  ASSERT_TRUE(ours && reference);
  std::printf("resonance: strip %.1f MHz, %.2f ohm; nec2c wire %.1f MHz, %.2f ohm\n",
              ours->FrequencyMHz, ours->Resistance, reference->FrequencyMHz,
              reference->Resistance);
  EXPECT_NEAR(ours->FrequencyMHz / reference->FrequencyMHz, 1.0, 0.03);
  EXPECT_NEAR(ours->Resistance / reference->Resistance, 1.0, 0.05);
}

TEST(Physics, ShortDipoleRadiatesTheHertzianPattern) {
  TempDir dir;
  RecordingUi ui;
  Project dipole = StripDipole(dir, 20, 1, 20);  // L = lambda / 50 at 300 MHz
  const ComputationSettings s = testing::WithFarField(SingleFrequency(300), {0, 90, 15},
                                                        {0, 90, 30});
  const ComputationReport report = Compute(dipole, s, ui, dir);
  ASSERT_EQ(report.Points.size(), 1u);
  const Pattern p = ReadPattern(dir / "strip.RAD");
  // An x-directed element: E_theta ~ cos(theta) cos(phi), E_phi ~ sin(phi).
  const double peak = p.At(0, 0, 2);
  ASSERT_GT(peak, 0);
  for (double theta : {15.0, 45.0, 75.0})
    for (double phi : {0.0, 30.0, 60.0}) {
      const double t = theta * M_PI / 180, f = phi * M_PI / 180;
      EXPECT_NEAR(p.At(theta, phi, 2) / peak, std::cos(t) * std::cos(f), 1e-3) << theta << " " << phi;
      EXPECT_NEAR(p.At(theta, phi, 3) / peak, std::sin(f), 1e-3) << theta << " " << phi;
    }
  // Power balance of the short dipole: the current moment seen in the far field,
  // written as a triangular current of peak I (|E| = eta k |I| L / (8 pi) at
  // broadside), must radiate what the source delivers, P = (1/2) |I|^2 R with the
  // radiation resistance 20 pi^2 (L/lambda)^2 of that current.
  const double power = report.Points[0].InputPower;
  const double k = 2 * M_PI / 1.0, length = 0.02;
  const double current = 8 * M_PI * peak / (testing::Eta0 * k * length);
  const double resistance = 2 * power / (current * current);
  const double expected = 20 * M_PI * M_PI * std::pow(length / 1.0, 2);
  std::printf("short dipole: radiation resistance of its far-field moment %.5f ohm, "
              "closed form %.5f ohm\n", resistance, expected);
  EXPECT_NEAR(resistance / expected, 1.0, 0.05);
}

// Over a perfectly conducting plane, with no loss anywhere, every watt the source
// delivers leaves as radiation into the upper half space. The ground points carry
// currents down to the plane at both ends: on opposite sides of their cells, and
// on edges at right angles.
TEST(Physics, PowerBalanceOverAGroundPlaneWithGroundPoints) {
  // A straight strip, and the same strip with an arm going up from its right end
  // (a coupled Jx/Jy system), whose ground point then sits on a top edge.
  const Segment arm{141, 59, 2, 20, 1, 10};
  const std::vector<std::pair<std::vector<Segment>, std::vector<GroundPoint>>> layouts = {
      {{}, {{1, EdgeLeft, 2.0 / 3, 60, 50}, {40, EdgeRight, 2.0 / 3, 140, 50}}},
      {{arm}, {{1, EdgeLeft, 2.0 / 3, 60, 50}, {50, EdgeTop, 2.0 / 3, 141, 69}}},
  };
  for (const auto& [extra, points] : layouts) {
    TempDir dir;
    RecordingUi ui;
    Project loop = StripDipole(dir, 80, 2, 40);
    loop.Segments.insert(loop.Segments.end(), extra.begin(), extra.end());
    loop.Env.GroundPlane = true;
    loop.Env.GPHeight = "10";
    loop.GroundPoints = points;
    const ComputationSettings s = testing::WithFarField(SingleFrequency(700), {0, 90, 2},
                                                          {0, 360, 2});
    const ComputationReport report = Compute(loop, s, ui, dir);
    ASSERT_GT(report.InputPower, 0.0) << (ui.messages.empty() ? "" : ui.messages[0]);
    const double radiated = RadiatedPower(ReadPattern(dir / "strip.RAD"), 2.0);
    std::printf("over ground: input %.6g W, radiated %.6g W\n", report.InputPower, radiated);
    EXPECT_NEAR(radiated / report.InputPower, 1.0, 0.05);
  }
}

}  // namespace
}  // namespace lumetra
