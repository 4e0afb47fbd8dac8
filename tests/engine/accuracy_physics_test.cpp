// High accuracy against independent solvers: grounded traces against Debian's
// nec2c (wires of radius w/4 over a perfect ground) and the closed form of a
// rectangular loop, and the microstrip resonator on FR-4 against the openEMS
// figure stored below.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>

#include "model/number_format.h"
#include "model/project_files.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/engine/nec_reference.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::FirstResonance;
using testing::ImpedancePoint;
using testing::NecWire;
using testing::PortImpedances;
using testing::RecordingUi;
using testing::TempDir;

// A sweep, or with step 0 the one frequency start.
ComputationSettings Sweep(double start, double stop, double step, SolverAccuracy accuracy) {
  ComputationSettings s =
      step > 0 ? testing::LinearSweep(start, stop, step) : testing::SingleFrequency(start);
  s.Accuracy = accuracy;
  return s;
}

// A trace of lengthMm by widthMm along x, one cell across and cells of cellMm
// along, heightMm over a ground plane. Ground points at its left end and, when
// bothEnds, at its right end; a 1 V source on Jx element feedElement.
Project GroundedTrace(const TempDir& dir, double lengthMm, double widthMm, double cellMm,
                      double heightMm, bool bothEnds, int feedElement) {
  Project p;
  p.ProjectFile = (dir / "trace.PRO").string();
  p.PcbLx = 200;
  p.PcbLy = 100;
  p.GridSize = cellMm;
  const int cells = static_cast<int>(std::lround(lengthMm / cellMm));
  const double left = 100 - lengthMm / 2;
  p.Segments = {{100, 50, lengthMm, widthMm, cells, 1}};
  p.VoltageSources = {{left + feedElement * cellMm, 50, cellMm, widthMm, 1.0, 0.0, true, feedElement}};
  const double size = std::min(cellMm, widthMm) / 3;
  p.GroundPoints = {{1, EdgeLeft, size, left, 50}};
  if (bothEnds) p.GroundPoints.push_back({cells, EdgeRight, size, left + lengthMm, 50});
  p.Env.GroundPlane = true;
  p.Env.GPHeight = FormatGeneral(heightMm);
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

std::vector<ImpedancePoint> TraceImpedances(double lengthMm, double widthMm, double cellMm,
                                            double heightMm, bool bothEnds, int feedElement,
                                            const ComputationSettings& settings) {
  TempDir dir;
  RecordingUi ui;
  Project p = GroundedTrace(dir, lengthMm, widthMm, cellMm, heightMm, bothEnds, feedElement);
  const ComputationReport report = Compute(p, settings, ui, dir);
  EXPECT_FALSE(report.Points.empty()) << (ui.messages.empty() ? "" : ui.messages[0]);
  return PortImpedances(report);
}

// A flat strip of width w carrying a current that is singular at its edges acts
// like a round wire of radius w/4; one carrying a uniform current and tested on
// its centre line, as a strip one cell wide is, like a wire of radius w/(2e), the
// geometric mean distance of the strip from its centre line.
constexpr double EdgeSingularRadius = 0.25;
const double CentreLineRadius = 0.5 / std::exp(1.0);

// The same trace as nec2c wires of radius radiusPerWidth times w: the post(s) from
// the plane up to the trace and the trace itself, fed on the segment over the
// source element.
std::optional<std::vector<ImpedancePoint>> NecTrace(double lengthMm, double widthMm,
                                                    double heightMm, bool bothEnds, int segments,
                                                    int feedSegment, double startMHz,
                                                    double stepMHz, int count,
                                                    double radiusPerWidth = EdgeSingularRadius) {
  const double l = lengthMm * 1e-3, h = heightMm * 1e-3, r = widthMm * 1e-3 * radiusPerWidth;
  const int postSegments = std::max(1, static_cast<int>(std::lround(heightMm / 2)));
  std::vector<NecWire> wires = {{0, 0, 0, 0, 0, h, r, postSegments},
                                {0, 0, h, l, 0, h, r, segments}};
  if (bothEnds) wires.push_back({l, 0, h, l, 0, 0, r, postSegments});
  return testing::Nec2cImpedances(wires, 2, feedSegment, true, startMHz, stepMHz, count);
}

// A strip grounded and fed at one end is a quarter-wave resonator over the plane
// (an inverted L): its first series resonance depends on the inductance of the
// post as much as on the strip. 150 x 2 mm, the source on the first Jx element.
TEST(AccuracyPhysics, GroundedStripResonatesWithTheWireSolverAtBothHeights) {
  for (double height : {10.0, 1.6}) {
    const auto nec = NecTrace(150, 2, height, false, 75, 1, 400, 5, 29);
    ASSERT_TRUE(nec) << "nec2c is not installed (scripts/install-deps.sh installs it)";
    const auto reference = FirstResonance(*nec);
    ASSERT_TRUE(reference);
    double found[2] = {0, 0};
    for (SolverAccuracy accuracy : {SolverAccuracy::Standard, SolverAccuracy::High}) {
      const double guess = reference->FrequencyMHz;
      const auto ours = FirstResonance(TraceImpedances(
          150, 2, 2, height, false, 1, Sweep(guess * 0.95, guess * 1.05, guess * 0.025, accuracy)));
      ASSERT_TRUE(ours);
      found[accuracy == SolverAccuracy::High] = ours->FrequencyMHz;
    }
    std::printf("grounded strip at h = %.1f mm: nec2c %.1f MHz, standard %.1f MHz (%+.2f %%), "
                "high %.1f MHz (%+.2f %%)\n", height, reference->FrequencyMHz, found[0],
                100 * (found[0] / reference->FrequencyMHz - 1), found[1],
                100 * (found[1] / reference->FrequencyMHz - 1));
    EXPECT_NEAR(found[1] / reference->FrequencyMHz, 1.0, 0.005) << height;
  }
}

// Inductance of a rectangular loop of round wire (Grover): sides a and b, wire
// radius r, current uniform over the wire's surface.
double RectangularLoopInductance(double a, double b, double r) {
  const double d = std::sqrt(a * a + b * b);
  return Mu0 / M_PI * (a * std::log(2 * a / r) + b * std::log(2 * b / r) + 2 * d -
                       a * std::asinh(a / b) - b * std::asinh(b / a) - 2 * (a + b));
}

// A short trace grounded at both ends is a loop with its image: at 30 MHz its
// input reactance is that of the loop inductance. 8 mm x 2 mm at h = 10 mm: half
// the inductance of the 8 x 20 mm loop. Tested at the top end only, the posts
// lose about a third of their inductance; tested over their depth they match the
// wire solver for the wire that a one-cell-wide strip stands for (radius w/(2e)).
// Against the w/4 wire of the real strip the one-cell-wide trace is 13 % high, the
// error of its uniform transverse current, not of the posts.
TEST(AccuracyPhysics, ShortTraceGroundedAtBothEndsHasTheLoopInductance) {
  const double omega = 2 * M_PI * 30e6;
  const auto nec = NecTrace(8, 2, 10, true, 5, 3, 30, 1, 1);
  const auto necCentreLine = NecTrace(8, 2, 10, true, 5, 3, 30, 1, 1, CentreLineRadius);
  ASSERT_TRUE(nec && necCentreLine) << "nec2c is not installed (scripts/install-deps.sh installs it)";
  const double necL = (*nec)[0].Impedance.imag() / omega;
  const double necCentreLineL = (*necCentreLine)[0].Impedance.imag() / omega;
  const double closed = RectangularLoopInductance(8e-3, 20e-3, 0.5e-3) / 2;
  const double closedCentreLine = RectangularLoopInductance(8e-3, 20e-3, 2e-3 * CentreLineRadius) / 2;
  double found[2] = {0, 0};
  for (SolverAccuracy accuracy : {SolverAccuracy::Standard, SolverAccuracy::High}) {
    const auto z = TraceImpedances(8, 2, 2, 10, true, 2, Sweep(30, 30, 0, accuracy));
    ASSERT_EQ(z.size(), 1u);
    found[accuracy == SolverAccuracy::High] = z[0].Impedance.imag() / omega;
  }
  std::printf("8 mm loop at h = 10 mm: standard %.2f nH, high %.2f nH; radius w/(2e): nec2c "
              "%.2f nH, closed form %.2f nH; radius w/4: nec2c %.2f nH, closed form %.2f nH\n",
              found[0] * 1e9, found[1] * 1e9, necCentreLineL * 1e9, closedCentreLine * 1e9,
              necL * 1e9, closed * 1e9);
  EXPECT_NEAR(found[1] / necCentreLineL, 1.0, 0.02);
  EXPECT_NEAR(found[1] / closedCentreLine, 1.0, 0.02);
  EXPECT_NEAR(necL / closed, 1.0, 0.02);  // the references agree
  EXPECT_NEAR(necCentreLineL / closedCentreLine, 1.0, 0.02);
  EXPECT_LT(found[0] / necCentreLineL, 0.8);  // the top-end test: a third of the posts missing
}

// Longer and lower loops, and a narrower trace: High within 3 % of nec2c's wire of
// radius w/(2e) wherever the posts or the trace dominate.
TEST(AccuracyPhysics, LoopInductanceOfGroundedTracesAcrossLengthsHeightsAndWidths) {
  struct Case {
    double Length, Width, Height;
  };
  const double omega = 2 * M_PI * 30e6;
  for (const Case& c : {Case{8, 2, 1.6}, Case{100, 2, 10}, Case{100, 2, 1.6}, Case{8, 1, 10},
                        Case{100, 1, 1.6}}) {
    const double cell = c.Width;
    const int cells = static_cast<int>(std::lround(c.Length / cell));
    const int necSegments = c.Length > 50 ? 25 : 5;
    const auto nec = NecTrace(c.Length, c.Width, c.Height, true, necSegments,
                              (necSegments + 1) / 2, 30, 1, 1, CentreLineRadius);
    ASSERT_TRUE(nec) << "nec2c is not installed (scripts/install-deps.sh installs it)";
    const double necL = (*nec)[0].Impedance.imag() / omega;
    const auto high = TraceImpedances(c.Length, c.Width, cell, c.Height, true, cells / 2,
                                      Sweep(30, 30, 0, SolverAccuracy::High));
    const auto standard = TraceImpedances(c.Length, c.Width, cell, c.Height, true, cells / 2,
                                          Sweep(30, 30, 0, SolverAccuracy::Standard));
    ASSERT_EQ(high.size(), 1u);
    const double highL = high[0].Impedance.imag() / omega;
    const double standardL = standard[0].Impedance.imag() / omega;
    std::printf("loop %.0f x %.0f mm at h = %.1f mm: nec2c (w/(2e)) %.2f nH, high %.2f nH "
                "(%+.1f %%), standard %.2f nH (%+.1f %%)\n", c.Length, c.Width, c.Height,
                necL * 1e9, highL * 1e9, 100 * (highL / necL - 1), standardL * 1e9,
                100 * (standardL / necL - 1));
    EXPECT_NEAR(highL / necL, 1.0, 0.03) << c.Length << " " << c.Width << " " << c.Height;
  }
}

// 50 mm of 3 mm wide line on 1.6 mm FR-4 (er 4.4), fed at its centre across its
// width, one cell across: openEMS (FDTD, Debian) puts its half-wave resonance at
// 1590 MHz. With the default 100 spectral points the standard model drifts lower
// as the cells shrink (the limit MaxKr grows with 1/cell while the step must
// resolve the 50 mm strip); High accuracy takes the points the layout needs and
// lands on the converged model, measured once with 6000 points (stored below, a
// run takes seconds). What remains against openEMS, +1.1 to +1.7 %, is the
// uniform current and charge across the one-cell-wide strip. At 0.25 mm the
// standard model has left the sweep (about 1470 MHz).
constexpr double OpenEmsResonanceMHz = 1590.0;
struct ConvergedModel {
  double CellMm;
  double ResonanceMHz;  // 6000 spectral points (8000 at 0.25 mm), 20 or 40 MHz steps
};
constexpr ConvergedModel Converged[] = {{1.0, 1617.5}, {0.5, 1612.9}, {0.25, 1609.4}};

double MicrostripResonanceMHz(double cellMm, SolverAccuracy accuracy, std::int32_t* points) {
  TempDir dir;
  RecordingUi ui;
  Project p;
  p.ProjectFile = (dir / "strip.PRO").string();
  p.PcbLx = 100;
  p.PcbLy = 50;
  p.GridSize = cellMm;
  const int cells = static_cast<int>(std::lround(50 / cellMm));
  p.Segments = {{50, 25, 50, 3, cells, 1}};
  p.VoltageSources = {{50, 25, cellMm, 3, 1.0, 0.0, true, cells / 2}};
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "1.6";
  p.Env.DielConst = "4.4";
  SaveProjectFiles(p, p.ProjectFile);
  const ComputationReport report = Compute(p, Sweep(1540, 1660, 40, accuracy), ui, dir);
  if (report.Points.empty()) return 0.0;
  *points = report.Points.front().SpectralPoints;
  const auto resonance = FirstResonance(PortImpedances(report));
  return resonance ? resonance->FrequencyMHz : 0.0;
}

TEST(AccuracyPhysics, MicrostripOnFr4ResonatesWithTheConvergedModelAtEveryCellSize) {
  for (const ConvergedModel& model : Converged) {
    std::int32_t points = 0, standardPoints = 0;
    const double high = MicrostripResonanceMHz(model.CellMm, SolverAccuracy::High, &points);
    const double standard =
        MicrostripResonanceMHz(model.CellMm, SolverAccuracy::Standard, &standardPoints);
    std::printf("FR-4 strip, %.2f mm cells: high %.1f MHz (%+.2f %% against openEMS, %+.2f %% "
                "against the converged model, %d points), standard %.1f MHz (%+.2f %%, %d "
                "points)\n", model.CellMm, high, 100 * (high / OpenEmsResonanceMHz - 1),
                100 * (high / model.ResonanceMHz - 1), points, standard,
                100 * (standard / OpenEmsResonanceMHz - 1), standardPoints);
    EXPECT_NEAR(high / model.ResonanceMHz, 1.0, 0.003) << model.CellMm;
    EXPECT_NEAR(high / OpenEmsResonanceMHz, 1.0, 0.02) << model.CellMm;
    EXPECT_GT(points, 100);
    EXPECT_EQ(standardPoints, 100);
  }
}

// Lossless layouts over the plane deliver what they radiate into the upper half
// space: within 1 % in High accuracy at both heights, down to 300 MHz where the
// grounded loop radiates little and its two ground points' large and nearly
// opposite radiation resistances must cancel. (Standard is 4.5 % short at 300 MHz
// and h = 10 mm: the stepped self integral of the 20:1 vertical strips is 1.5 %
// high in its real part.)
TEST(AccuracyPhysics, PowerBalanceOfGroundedLayoutsInHighAccuracy) {
  for (const auto& [height, frequency] :
       {std::pair{10.0, 300.0}, std::pair{10.0, 700.0}, std::pair{1.6, 700.0}}) {
    TempDir dir;
    RecordingUi ui;
    Project loop = testing::StripDipole(dir, 80, 2, 40);
    loop.Env.GroundPlane = true;
    loop.Env.GPHeight = FormatGeneral(height);
    loop.GroundPoints = {{1, EdgeLeft, 2.0 / 3, 60, 50}, {40, EdgeRight, 2.0 / 3, 140, 50}};
    ComputationSettings s =
        testing::WithFarField(testing::SingleFrequency(frequency), {0, 90, 2}, {0, 360, 2});
    s.Accuracy = SolverAccuracy::High;
    const ComputationReport report = Compute(loop, s, ui, dir);
    ASSERT_GT(report.InputPower, 0.0);
    const double radiated =
        testing::RadiatedPower(testing::ReadPattern(dir / "strip.RAD"), 2.0);
    std::printf("power balance, high, h = %.1f mm, %.0f MHz: radiated / delivered %.4f\n", height,
                frequency, radiated / report.InputPower);
    EXPECT_NEAR(radiated / report.InputPower, 1.0, 0.01) << height << " mm, " << frequency << " MHz";
  }
}

}  // namespace
}  // namespace lumetra
