// Lumped loads, trace resistivity and the delivered power against circuit theory
// and energy conservation. The strips have cells of 2 mm along and 3 mm across
// them, so an element's length and its width cannot stand in for each other.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>

#include "model/project_files.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::RecordingUi;
using testing::SingleFrequency;
using testing::TempDir;
using Z = std::complex<double>;

enum class Along { X, Y };
const char* Name(Along a) { return a == Along::X ? "Jx strip" : "Jy strip"; }

// A straight strip 80 mm long and 3 mm wide in 40 cells, centred on a 200 x 100 mm
// board, along x or along y: 39 current elements, element n centred 2n mm from
// the strip's start.
Project Strip(const TempDir& dir, Along along) {
  Project p;
  p.ProjectFile = (dir / "strip.PRO").string();
  p.PcbLx = 200;
  p.PcbLy = 100;
  p.Segments = {along == Along::X ? Segment{100, 50, 80, 3, 40, 1} : Segment{100, 50, 3, 80, 1, 40}};
  return p;
}

// The cell of element n of the strip: centre and size, mm.
struct Cell {
  double X, Y, Dx, Dy;
};
Cell StripElement(Along along, int n) {
  return along == Along::X ? Cell{60.0 + 2 * n, 50, 2, 3} : Cell{100, 10.0 + 2 * n, 3, 2};
}

VoltageSource Source(Along along, int n, Z volts) {
  const Cell c = StripElement(along, n);
  return {c.X, c.Y, c.Dx, c.Dy, volts.real(), volts.imag(), along == Along::X, n};
}

ImpedanceElement Load(Along along, int n, double r, double lc) {
  const Cell c = StripElement(along, n);
  return {c.X, c.Y, c.Dx, c.Dy, r, lc, along == Along::X, n};
}

constexpr double Mhz = 300;
constexpr double Omega = 2 * M_PI * Mhz * 1e6;

// Solves the project at 300 MHz and returns the currents (A) through its sources.
std::vector<Z> SourceCurrents(Project& p, const TempDir& dir) {
  SaveProjectFiles(p, p.ProjectFile);
  RecordingUi ui;
  ComputationSettings s = SingleFrequency(Mhz);
  s.ImpFile = !p.Impedances.empty();
  const ComputationReport report = Compute(p, s, ui, dir);
  std::vector<Z> currents;
  if (report.Points.size() != 1) {
    ADD_FAILURE() << "no solution: " << (ui.messages.empty() ? "" : ui.messages[0]);
    return currents;
  }
  for (const SourceReading& r : report.Points[0].Sources)
    currents.push_back(r.Current ? Z(r.Current->Re, r.Current->Im) : Z(NAN, NAN));
  return currents;
}

// A load in series with the source on the same element adds exactly its impedance
// to the port impedance: R, R + j omega L, R + 1/(j omega C).
TEST(Loads, LoadOnTheFedElementAddsItsImpedanceToThePort) {
  struct Case {
    double R, LC;
    Z expected;
  };
  const Case cases[] = {
      {50, 0, Z(50, 0)},
      {22, 20e-9, Z(22, Omega * 20e-9)},
      {10, -2e-12, Z(10, -1 / (Omega * 2e-12))},
  };
  for (Along along : {Along::X, Along::Y}) {
    TempDir dir;
    Project p = Strip(dir, along);
    p.VoltageSources = {Source(along, 20, 1.0)};
    const auto unloaded = SourceCurrents(p, dir);
    ASSERT_EQ(unloaded.size(), 1u);
    const Z z0 = 1.0 / unloaded[0];
    for (const Case& c : cases) {
      p.Impedances = {Load(along, 20, c.R, c.LC)};
      const auto loaded = SourceCurrents(p, dir);
      ASSERT_EQ(loaded.size(), 1u);
      const Z added = 1.0 / loaded[0] - z0;
      EXPECT_NEAR(added.real(), c.expected.real(), 1e-6 * std::abs(z0)) << Name(along) << " R " << c.R << " LC " << c.LC;
      EXPECT_NEAR(added.imag(), c.expected.imag(), 1e-6 * std::abs(z0)) << Name(along) << " R " << c.R << " LC " << c.LC;
    }
  }
}

// A load away from the source acts through the two-port of the line between the
// feed (port 1) and the load (port 2). Zero-volt sources read the short-circuit
// currents: y11, y21 with 1 V at port 1, y12, y22 with 1 V at port 2; terminated
// by Z_L, port 2 carries I2 = y21 / (1 + y22 Z_L) and port 1 I1 = y11 - y12 Z_L I2.
TEST(Loads, LoadAwayFromTheFeedActsThroughTheTwoPortOfTheLine) {
  const Z zl(50, Omega * 20e-9);
  for (Along along : {Along::X, Along::Y}) {
    TempDir dir;
    Project p = Strip(dir, along);
    p.VoltageSources = {Source(along, 20, 1.0), Source(along, 31, 0.0)};
    const auto a = SourceCurrents(p, dir);
    p.VoltageSources = {Source(along, 20, 0.0), Source(along, 31, 1.0)};
    const auto b = SourceCurrents(p, dir);
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);
    const Z y11 = a[0], y21 = a[1], y12 = b[0], y22 = b[1];
    EXPECT_NEAR(std::abs(y12 - y21) / std::abs(y21), 0.0, 1e-9) << Name(along) << ": reciprocity";

    p.VoltageSources = {Source(along, 20, 1.0), Source(along, 31, 0.0)};
    p.Impedances = {Load(along, 31, zl.real(), 20e-9)};
    const auto c = SourceCurrents(p, dir);
    ASSERT_EQ(c.size(), 2u);
    const Z i2 = y21 / (1.0 + y22 * zl), i1 = y11 - y12 * zl * i2;
    EXPECT_NEAR(std::abs(c[1] - i2) / std::abs(i2), 0.0, 1e-6) << Name(along) << ": load current";
    EXPECT_NEAR(std::abs(c[0] - i1) / std::abs(i1), 0.0, 1e-6) << Name(along) << ": feed current";
  }
}

// An L: the Jx strip with an arm 2 mm wide and 42 mm long in cells of 2 x 3 mm going
// up from its right end (a coupled system joined by a connecting Jx element), fed
// on both legs.
Project LShape(const TempDir& dir) {
  Project p = Strip(dir, Along::X);
  p.Segments.push_back({141, 69.5, 2, 42, 1, 14});
  p.VoltageSources = {Source(Along::X, 20, 1.0), {141, 69.5, 2, 3, 0.0, 1.0, false, 7}};
  return p;
}

// Energy conservation in free space: the power the sources deliver, 1/2 Re(V I*)
// summed over the fed elements, leaves as radiation (twice the upper half space,
// the board plane being a plane of symmetry) plus the heat of the surface
// resistance Rs, 1/2 Rs |J|^2 over each element's cell area.
TEST(Losses, DeliveredPowerIsRadiatedPlusDissipated) {
  struct Case {
    const char* name;
    Project (*build)(const TempDir&);
    double mhz;
    double rs;  // ohm per square
  };
  const auto jx = [](const TempDir& d) {
    Project p = Strip(d, Along::X);
    p.VoltageSources = {Source(Along::X, 20, 1.0)};
    return p;
  };
  const auto jy = [](const TempDir& d) {
    Project p = Strip(d, Along::Y);
    p.VoltageSources = {Source(Along::Y, 20, 1.0)};
    return p;
  };
  const Case cases[] = {
      {"Jx strip, lossy", jx, 1700, 5},   {"Jy strip", jy, 1700, 0},
      {"Jy strip, lossy", jy, 1700, 5},   {"L, fed on both legs", LShape, 1200, 0},
      {"L, fed on both legs, lossy", LShape, 1200, 5},
  };
  for (const Case& c : cases) {
    TempDir dir;
    RecordingUi ui;
    Project p = c.build(dir);
    p.Env.FiniteConductivity = c.rs > 0;
    p.Env.Conductivity = std::to_string(c.rs);
    SaveProjectFiles(p, p.ProjectFile);
    const ComputationSettings s =
        testing::WithFarField(SingleFrequency(c.mhz), {0, 90, 2}, {0, 360, 2});
    const ComputationReport report = Compute(p, s, ui, dir);
    ASSERT_EQ(report.Points.size(), 1u) << c.name << ": " << (ui.messages.empty() ? "" : ui.messages[0]);
    double heat = 0;
    for (const char* extension : {".XXX", ".YYY"})
      for (const testing::CurrentRow& r : testing::ReadCurrents(dir / (std::string("strip") + extension)))
        heat += 0.5 * c.rs * std::norm(r.J) * r.Dx * r.Dy * 1e-6;
    const double radiated = 2 * testing::RadiatedPower(testing::ReadPattern(dir / "strip.RAD"), 2.0);
    const double delivered = report.InputPower;
    std::printf("%s: delivered %.6g W, radiated %.6g W, dissipated %.6g W\n", c.name, delivered,
                radiated, heat);
    EXPECT_NEAR((radiated + heat) / delivered, 1.0, 0.01) << c.name;
    if (c.rs > 0) {
      EXPECT_GT(heat, 0.25 * delivered) << c.name << ": the loss must matter";
    }
  }
}

}  // namespace
}  // namespace lumetra
