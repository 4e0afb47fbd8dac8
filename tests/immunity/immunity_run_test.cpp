// The immunity run end to end: the worst case found by reciprocity against a
// brute-force scan of direct plane-wave solves, the short dipole's closed form,
// and the refusals of bad input.
#include <gtest/gtest.h>

#include <cmath>

#include "model/project_files.h"
#include "studies/immunity/immunity_run.h"
#include "tests/immunity/immunity_fixtures.h"

namespace lumetra::testing {
namespace {

using immunity::ImmunityOptions;
using immunity::ImmunityResult;

ImmunityResult RunImmunityOn(const Project& p, const ComputationSettings& s, const ImmunityOptions& o,
                   RecordingUi& ui) {
  ComputationControl control(ui);
  return immunity::RunImmunity(p, s, o, control);
}

// A thin strip dipole 1 m long and 0.1 mm wide at 3 MHz (a hundredth of a
// wavelength) with a 1 Mohm receiver at its centre. Its current is a triangle from
// the port to the end cells' centres, so the effective length is half that span,
// and the open-circuit voltage of a 1 V/m wave along the strip is 0.495 V. The
// worst direction is broadside with the field along the strip.
TEST(ImmunityRun, ShortDipoleReceivesFieldTimesEffectiveLength) {
  TempDir dir;
  RecordingUi ui;
  Project p;
  p.ProjectFile = (dir / "dipole.PRO").string();
  p.PcbLx = 1100;
  p.PcbLy = 40;
  p.Segments.push_back({550, 20, 1000, 0.1, 100, 1});
  ImpedanceElement load;
  load.X = 550;
  load.Y = 20;
  load.Dx = 10;
  load.Dy = 0.1;
  load.R = 1e6;
  load.IsJx = true;
  load.ElementNo = 50;
  p.Impedances.push_back(load);
  SaveProjectFiles(p, p.ProjectFile);
  ImmunityOptions options;
  options.FieldVPerM = 1.0;
  const ImmunityResult result = RunImmunityOn(p, ImmunitySettings(3), options, ui);
  ASSERT_EQ(result.Points.size(), 1u) << (ui.messages.empty() ? "" : ui.messages.front());
  ASSERT_EQ(result.Points[0].Ports.size(), 1u);
  const immunity::PortWorst& w = result.Points[0].Ports[0];
  // The charge that gathers on the two cells beside the port (the gap's
  // capacitance) draws current at the port alone, and the thin-wire current is a
  // triangle only to order 1 / ln(length / radius): 1.5 % below the closed form.
  const double span = 1.0 - 0.01;  // m, between the end cells' centres
  std::printf("open-circuit voltage %.6g V against E span / 2 = %.6g V\n", w.OpenCircuitV, span / 2);
  EXPECT_NEAR(w.OpenCircuitV, span / 2, 0.02 * span / 2);
  Project ported = p;
  const std::vector<immunity::PortElement> ports = AddLoadPortSources(ported);
  int points = 0;
  ForEachComputedPoint(ported, ImmunitySettings(3), ui,
                       [&](SystemLayout l, AssemblyInput& input, ComputationControl& control) {
    ++points;
    MultiExcitationResult solved;
    std::vector<immunity::PortReception> r;
    ASSERT_TRUE(immunity::SolvePortReceptions(l, input, ports, control, solved, r));
    // Broadside wave with the field along the strip, from the top.
    const Complex received =
        immunity::ReceivedCurrent(r[0], immunity::IncidentRightHandSide(l, input, {0, 0, 0}));
    const double port = CAbs(immunity::OpenCircuitVoltage(r[0], received));
    EXPECT_NEAR(port, w.OpenCircuitV, 1e-3 * w.OpenCircuitV);  // the search found broadside
  });
  EXPECT_EQ(points, 1);
  EXPECT_LE(w.VoltageV, w.OpenCircuitV * (1 + 1e-9));
  EXPECT_GT(w.VoltageV, 0.95 * w.OpenCircuitV);  // 1 Mohm against a few kohm of capacitance
  // Broadside: the direction is perpendicular to x, the field along x.
  const double t = w.ThetaDeg * M_PI / 180, ph = w.PhiDeg * M_PI / 180;
  EXPECT_NEAR(std::abs(std::sin(t) * std::cos(ph)), 0.0, 0.01);
  // Ten times the field, ten times the voltage.
  options.FieldVPerM = 10.0;
  const ImmunityResult ten = RunImmunityOn(p, ImmunitySettings(3), options, ui);
  ASSERT_EQ(ten.Points.size(), 1u);
  EXPECT_NEAR(ten.Points[0].Ports[0].VoltageV, 10 * w.VoltageV, 1e-9 * w.VoltageV);
}

// Over a ground plane with ground points, the hemisphere scanned by direct solves
// every 5 degrees in both polarisations: the reciprocity search must find the
// brute-force maximum within 0.1 dB.
TEST(ImmunityRun, WorstCaseMatchesBruteForceScanOfDirectSolves) {
  TempDir dir;
  RecordingUi ui;
  LinesLayout layout;
  layout.Lines = 1;
  layout.LengthMm = 240;
  layout.Cells = 12;
  layout.GroundedEnds = true;
  Project p = LoadedLines(dir, layout, {2000.0});
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "3";
  SaveProjectFiles(p, p.ProjectFile);
  const ComputationSettings settings = ImmunitySettings(900);
  const ImmunityResult result = RunImmunityOn(p, settings, {10.0, {1}, 10.0}, ui);
  ASSERT_EQ(result.Points.size(), 1u) << (ui.messages.empty() ? "" : ui.messages.front());
  const immunity::PortWorst& found = result.Points[0].Ports.at(0);

  double brute = 0.0;
  std::vector<immunity::PortElement> ports = AddLoadPortSources(p);
  ForEachComputedPoint(p, settings, ui,
                       [&](SystemLayout l, AssemblyInput& input, ComputationControl& control) {
    const Complex z = immunity::PortLoadImpedance(input, ports[0]);
    for (double theta = 0; theta <= 90; theta += 5)
      for (double phi = 0; phi < 360; phi += 5)
        for (double pol : {0.0, 90.0}) {
          const Complex i = DirectReceivedCurrent(l, input, control, {theta, phi, pol}, true,
                                                  ports[0].ElementNo);
          brute = std::max(brute, 10.0 * CAbs(CMul(z, i)));
        }
  });
  ASSERT_GT(brute, 0.0);
  const double db = 20 * std::log10(found.VoltageV / brute);
  std::printf("reciprocity %.6g V, brute force %.6g V: %+.4f dB\n", found.VoltageV, brute, db);
  EXPECT_LT(std::abs(db), 0.1);
}

TEST(ImmunityRun, BadInputIsRefusedWithItsMessage) {
  TempDir dir;
  LinesLayout layout;
  layout.Lines = 1;
  layout.Cells = 10;
  {
    RecordingUi ui;
    const Project p = ParallelLines(dir, layout);  // a source, no load
    const ImmunityResult r = RunImmunityOn(p, ImmunitySettings(100), {}, ui);
    EXPECT_FALSE(r.Started);
    EXPECT_TRUE(r.Points.empty());
    EXPECT_EQ(ui.messages, std::vector<std::string>{immunity::NoLoadMessage});
  }
  const Project p = LoadedLines(dir, layout, {100.0});
  for (int bad : {0, 2, -1}) {
    RecordingUi ui;
    const ImmunityResult r = RunImmunityOn(p, ImmunitySettings(100), {10.0, {1, bad}, 10.0}, ui);
    EXPECT_FALSE(r.Started);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Error: Load " + std::to_string(bad) +
                                                     " does not exist; the layout has 1 load elements"});
  }
  for (double field : {0.0, -3.0, std::nan("")}) {
    RecordingUi ui;
    const ImmunityResult r = RunImmunityOn(p, ImmunitySettings(100), {field, {}, 10.0}, ui);
    EXPECT_FALSE(r.Started);
    EXPECT_EQ(ui.messages, std::vector<std::string>{immunity::FieldLevelMessage});
  }
  // A source with a load of its own is left to the load; a free one is a port.
  RecordingUi ui;
  const auto ports = immunity::ImmunityPorts(p, {}, ui);
  ASSERT_TRUE(ports);
  ASSERT_EQ(ports->size(), 2u);
  EXPECT_EQ((*ports)[1].Kind, immunity::PortKind::Source);
  EXPECT_EQ(immunity::ImmunityPorts(p, {1}, ui)->size(), 1u);
}

}  // namespace
}  // namespace lumetra::testing
