// The direction search on patterns whose maximum is known: a lobe across the
// phi = 0/360 seam, one on the theta bound, one in the other polarisation, and a
// higher narrow lobe beside a broad one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "studies/immunity/worst_direction.h"

namespace lumetra::immunity {
namespace {

constexpr double Deg = std::numbers::pi / 180.0;

// One unknown of weight 1 into a 1 ohm load: the port voltage is the right-hand side.
std::vector<PortReception> UnitPort() {
  PortReception p;
  p.Weights = {{1.0, 0.0}};
  p.DrivenCurrent = {1.0, 0.0};
  p.LoadImpedance = {1.0, 0.0};
  return {p};
}

// A Gaussian lobe of the given height and width (degrees) about a direction,
// measured by the angle between unit vectors.
double Lobe(double theta, double phi, double t0, double p0, double height, double width) {
  const double c = std::sin(theta * Deg) * std::sin(t0 * Deg) * std::cos((phi - p0) * Deg) +
                   std::cos(theta * Deg) * std::cos(t0 * Deg);
  const double angle = std::acos(std::clamp(c, -1.0, 1.0)) / Deg;
  return height * std::exp(-(angle * angle) / (width * width));
}

struct Expected {
  double theta, phi;
  Polarisation pol;
  double value;
};

void Check(const RightHandSideOf& rhs, const DirectionScan& scan, const Expected& e) {
  const std::vector<WorstDirection> found = FindWorstDirections(UnitPort(), rhs, scan);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Pol, e.pol);
  EXPECT_NEAR(found[0].Voltage, e.value, 1e-6 * e.value);
  EXPECT_NEAR(found[0].ThetaDeg, e.theta, 0.05);
  const double dphi = std::remainder(found[0].PhiDeg - e.phi, 360.0);
  if (e.theta > 0.1) {
    EXPECT_NEAR(dphi * std::sin(e.theta * Deg), 0.0, 0.05);
  }
  EXPECT_GE(found[0].PhiDeg, 0.0);
  EXPECT_LT(found[0].PhiDeg, 360.0);
}

TEST(WorstDirection, FindsLobesAcrossTheSeamOnTheBoundAndInEitherPolarisation) {
  DirectionScan scan;
  scan.ThetaMaxDeg = 90.0;
  scan.StepDeg = 10.0;
  // Across the phi seam: peak at theta 47.3, phi 358.6.
  Check([](const PlaneWave& w) {
    return std::vector<Complex>{{Lobe(w.ThetaDeg, w.PhiDeg, 47.3, 358.6, 2.0, 25.0), 0.0}};
  }, scan, {47.3, 358.6, Polarisation::Theta, 2.0});
  // On the theta bound (the peak itself lies below the board, at theta 100): the
  // largest value within the hemisphere is at theta 90.
  Check([](const PlaneWave& w) {
    return std::vector<Complex>{{Lobe(w.ThetaDeg, w.PhiDeg, 100.0, 123.0, 1.0, 30.0), 0.0}};
  }, scan, {90.0, 123.0, Polarisation::Theta, Lobe(90, 123, 100, 123, 1.0, 30.0)});
  // Only the phi polarisation receives.
  Check([](const PlaneWave& w) {
    const double v = w.PolDeg == 90.0 ? Lobe(w.ThetaDeg, w.PhiDeg, 20.0, 200.0, 0.5, 20.0) : 0.0;
    return std::vector<Complex>{{0.0, v}};
  }, scan, {20.0, 200.0, Polarisation::Phi, 0.5});
  // A broad lobe and a narrower, higher one far from it (narrower than the grid
  // step but wider than a tenth of it).
  Check([](const PlaneWave& w) {
    return std::vector<Complex>{{Lobe(w.ThetaDeg, w.PhiDeg, 30.0, 40.0, 1.0, 40.0) +
                                     Lobe(w.ThetaDeg, w.PhiDeg, 71.0, 250.0, 1.5, 8.0),
                                 0.0}};
  }, scan, {71.0, 250.0, Polarisation::Theta, 1.5 + Lobe(71, 250, 30, 40, 1.0, 40.0)});
  // The full sphere: a lobe from below the board.
  scan.ThetaMaxDeg = 180.0;
  Check([](const PlaneWave& w) {
    return std::vector<Complex>{{Lobe(w.ThetaDeg, w.PhiDeg, 143.0, 77.0, 3.0, 20.0), 0.0}};
  }, scan, {143.0, 77.0, Polarisation::Theta, 3.0});
}

TEST(WorstDirection, GridStepFollowsTheLobeSpacing) {
  DirectionScan scan;
  scan.StepDeg = 10.0;
  scan.Wavelength = 0.3;  // 1 GHz
  scan.LayoutRadius = 0.01;
  EXPECT_DOUBLE_EQ(GridStep(scan), 10.0);  // a small board: the step asked for
  scan.LayoutRadius = 0.5;                 // lobes 17 degrees apart: half that
  EXPECT_NEAR(GridStep(scan), 0.5 * 0.3 / 1.0 * 180 / std::numbers::pi, 1e-9);
  scan.LayoutRadius = 10.0;                // never below 2 degrees
  EXPECT_DOUBLE_EQ(GridStep(scan), 2.0);
}

}  // namespace
}  // namespace lumetra::immunity
