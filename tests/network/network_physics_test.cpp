// The network of computed layouts against what physics demands of every linear
// passive network (reciprocity, passivity), against Compute, and against the
// closed form of weak backward crosstalk.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "studies/computation_driver.h"
#include "studies/network/network_run.h"
#include "tests/network/network_fixtures.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using network::PortMatrix;
using testing::LinesLayout;
using testing::NetworkSettings;
using testing::ParallelLines;
using testing::RecordingUi;
using testing::TempDir;

network::NetworkResult Network(Project& project, const ComputationSettings& settings,
                               RecordingUi& ui) {
  ComputationControl control(ui);
  return network::RunNetwork(project, settings, control);
}

// Z = Z^T to 1e-9 in every environment with High accuracy, whose fill averages
// the two orders of each reaction integral. With a stub the system couples Jx and
// Jy unknowns. Standard accuracy keeps the point-matched fill: with ground points
// their coupling blocks test the vertical current at the edge midpoint but spread
// the horizontal one over its half strip, so xz and zx differ by quadrature error
// (measured 1.3e-9 for the straight lines, 1.2e-7 with the stub at 800 MHz); on
// the slab the xy and yx corrections are separate spectral integrals (3e-6).
TEST(NetworkPhysics, ImpedanceMatrixIsReciprocalInEveryEnvironment) {
  struct Case {
    const char* name;
    bool groundPlane, groundPoints, stub;
    const char* epsR;
    double standardTolerance;
  };
  for (const Case& c : {Case{"free space", false, false, false, "1", 1e-9},
                        Case{"free space with stub", false, false, true, "1", 1e-9},
                        Case{"ground plane, ground points", true, true, false, "1", 1e-6},
                        Case{"ground plane, ground points, stub", true, true, true, "1", 1e-6},
                        Case{"slab", true, false, false, "4.3", 1e-9},
                        Case{"slab with stub", true, false, true, "4.3", 1e-5}})
    for (SolverAccuracy accuracy : {SolverAccuracy::Standard, SolverAccuracy::High}) {
      SCOPED_TRACE(::testing::Message() << c.name << ", " << AccuracyWord(accuracy));
      TempDir dir;
      RecordingUi ui;
      LinesLayout layout;
      layout.LengthMm = 60;
      layout.Cells = 30;
      layout.Lines = 3;
      layout.GroundedEnds = c.groundPoints;
      layout.Stub = c.stub;
      Project p = ParallelLines(dir, layout);
      p.Env.GroundPlane = c.groundPlane;
      p.Env.GPHeight = "1.5";
      p.Env.DielConst = c.epsR;
      ComputationSettings settings = NetworkSettings(400, 800, 400);
      settings.Accuracy = accuracy;
      const network::NetworkResult result = Network(p, settings, ui);
      ASSERT_EQ(result.Points.size(), 2u) << (ui.messages.empty() ? "" : ui.messages.front());
      for (const std::string& message : ui.messages)  // only the slab's sampling warnings
        EXPECT_EQ(message.rfind("Warning: ", 0), 0u) << message;
      const double tolerance = accuracy == SolverAccuracy::High ? 1e-9 : c.standardTolerance;
      for (const network::NetworkPoint& point : result.Points) {
        const auto z = network::Inverse(point.Y);
        ASSERT_TRUE(z);
        EXPECT_LT(network::ReciprocityError(*z), tolerance) << point.FrequencyMHz << " MHz";
        // The coupling is there (on the slab its reactance passes through zero near
        // 800 MHz, so only a weak bound holds at every point).
        EXPECT_GT(std::abs((*z)(0, 1)), 1e-5 * std::abs((*z)(0, 0)));
      }
    }
}

// I - S^H S: zero for a layout that neither radiates (electrically tiny, over a
// ground plane) nor dissipates; positive once the traces have resistance.
TEST(NetworkPhysics, LosslessLayoutKeepsAllPowerAndResistiveOneAbsorbs) {
  for (bool resistive : {false, true}) {
    SCOPED_TRACE(resistive);
    TempDir dir;
    RecordingUi ui;
    LinesLayout layout;
    layout.LengthMm = 40;
    layout.Cells = 20;
    layout.GroundedEnds = true;
    Project p = ParallelLines(dir, layout);
    p.Env.GroundPlane = true;
    p.Env.GPHeight = "1";
    if (resistive) {
      p.Env.FiniteConductivity = true;
      p.Env.Conductivity = "0.5";
    }
    const network::NetworkResult result = Network(p, NetworkSettings(5), ui);
    ASSERT_EQ(result.Points.size(), 1u);
    const auto s = network::ScatteringFromAdmittance(result.Points[0].Y, {50.0});
    ASSERT_TRUE(s);
    const std::vector<double> eigenvalues = network::DissipationEigenvalues(*s);
    ASSERT_EQ(eigenvalues.size(), 2u);
    if (!resistive) {
      for (double e : eigenvalues) EXPECT_NEAR(e, 0.0, 1e-9);
    } else {
      for (double e : eigenvalues) EXPECT_GT(e, 1e-6);
    }
  }
}

TEST(NetworkPhysics, DissipationEigenvaluesOfKnownMatrices) {
  // A matched attenuator-like S: I - S^H S = diag(1 - a^2, 1 - b^2) rotated by a unitary.
  const double a = 0.6, b = 0.3;
  const std::complex<double> j(0, 1);
  PortMatrix u(2), d(2);
  const double t = 0.7;
  u(0, 0) = std::cos(t), u(0, 1) = -std::sin(t) * std::exp(j * 0.4);
  u(1, 0) = std::sin(t) * std::exp(-j * 0.4), u(1, 1) = std::cos(t);
  d(0, 0) = a, d(1, 1) = b * j;
  const std::vector<double> e = network::DissipationEigenvalues(d * u);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_NEAR(e[0], 1 - a * a, 1e-12);
  EXPECT_NEAR(e[1], 1 - b * b, 1e-12);
}

// A one-port network is the port impedance Compute reports, to the last bit:
// the same system, factorised the same way, driven with the same 1 V.
TEST(NetworkPhysics, OnePortEqualsTheImpedanceOfCompute) {
  TempDir dir;
  RecordingUi ui;
  LinesLayout layout;
  layout.Lines = 1;
  Project p = ParallelLines(dir, layout);
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "3";
  const ComputationSettings settings = NetworkSettings(300, 900, 300);
  const network::NetworkResult result = Network(p, settings, ui);
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = dir.path();
  environment.StartupDirectory = dir.path();
  const ComputationReport report = RunComputation(p, settings, environment, control);
  ASSERT_EQ(result.Points.size(), 3u);
  ASSERT_EQ(report.Points.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    const Complex current = *report.Points[k].Sources[0].Current;
    const std::complex<double> y = result.Points[k].Y(0, 0);
    EXPECT_EQ(y.real(), current.Re);
    EXPECT_EQ(y.imag(), current.Im);
    const std::complex<double> z = (*network::Inverse(result.Points[k].Y))(0, 0);
    const std::complex<double> compute = 1.0 / std::complex<double>(current.Re, current.Im);
    EXPECT_NEAR(std::abs(z - compute) / std::abs(compute), 0.0, 1e-14);
  }
}

// Two long lines over ground, matched at all four ends: at low frequency the
// near-end (backward) crosstalk is S31 = K_b (1 - e^{-2j k l}), with
// K_b = (L_m / L + C_m / C) / 4. In a homogeneous medium C_m / C = L_m / L, and
// for round wires of radius r at height h and distance d (h >> r)
//   L   = mu0 / (2 pi) ln(2h / r),   L_m = mu0 / (4 pi) ln(1 + (2h / d)^2),
// so K_b = ln(1 + (2h/d)^2) / (4 ln(2h/r)); the characteristic impedance is
// 60 ln(2h/r) ohm. A strip of width w is the wire of radius w/4.
TEST(NetworkPhysics, WeakBackwardCrosstalkFollowsTheCoupledLineFormula) {
  TempDir dir;
  RecordingUi ui;
  const double h = 4, w = 1, d = 6, length = 200;
  LinesLayout layout;
  layout.LengthMm = length;
  layout.WidthMm = w;
  layout.SpacingMm = d;
  layout.Cells = 100;
  layout.GroundedEnds = true;
  layout.FarPorts = true;
  Project p = ParallelLines(dir, layout);
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "4";
  const double r = w / 4;
  const double kb = std::log(1 + std::pow(2 * h / d, 2)) / (4 * std::log(2 * h / r));
  const double zc = 60 * std::log(2 * h / r);
  const double f = 24;  // MHz: k l = 0.1
  const network::NetworkResult result = Network(p, NetworkSettings(f), ui);
  ASSERT_EQ(result.Points.size(), 1u);
  const auto s = network::ScatteringFromAdmittance(result.Points[0].Y, {zc});
  ASSERT_TRUE(s);
  const double kl = 2 * M_PI * f * 1e6 / 299792458.0 * length * 1e-3;
  // Ports: 1 near and 2 far end of the driven line, 3 near and 4 far of the victim.
  const double measured = std::abs((*s)(2, 0)) / (2 * std::sin(kl));
  std::printf("backward crosstalk: K_b %.4f from S31, %.4f closed form (Zc %.1f ohm); |S41| %.2e\n",
              measured, kb, zc, std::abs((*s)(3, 0)));
  EXPECT_NEAR(measured / kb, 1.0, 0.10);
  // In a homogeneous medium the forward (far-end) crosstalk cancels: K_f ~ L_m/L - C_m/C = 0.
  EXPECT_LT(std::abs((*s)(3, 0)), 0.2 * std::abs((*s)(2, 0)));
  // A matched line passes nearly everything through.
  EXPECT_GT(std::abs((*s)(1, 0)), 0.9);
}

}  // namespace
}  // namespace lumetra
