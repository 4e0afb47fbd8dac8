// The voltage a plane wave puts on a port, from the port's own transmit solution,
// against direct solves of the incident-field excitation: the two must agree to
// the rounding of the solves in every medium, for both polarisations, on loads and
// on shorted sources, with ground points and with coupled Jx/Jy systems.
#include <gtest/gtest.h>

#include <cmath>

#include "studies/immunity/reception.h"
#include "tests/immunity/immunity_fixtures.h"

namespace lumetra::testing {
namespace {

using immunity::PortElement;
using immunity::PortReception;

struct MediumCase {
  const char* name;
  bool groundPlane, groundPoints, stub;
  const char* epsR;
  SolverAccuracy accuracy;
};

double RelativeError(Complex a, Complex b) {
  const double d = std::hypot(a.Re - b.Re, a.Im - b.Im);
  return d / std::max(CAbs(b), 1e-300);
}

TEST(ImmunityReciprocity, ReceivedCurrentEqualsDirectPlaneWaveSolve) {
  // The identity is exact for a reciprocal system. Standard accuracy fills the
  // couplings between a ground point and the current elements, and the slab's
  // corrections of the Jx-Jy couplings, in two orders of integration that differ
  // by up to 4e-4; High accuracy averages them, so those layouts are checked
  // there. Everywhere else both agree to the last digits.
  constexpr auto Standard = SolverAccuracy::Standard, High = SolverAccuracy::High;
  for (const MediumCase& c :
       {MediumCase{"free space", false, false, false, "1", Standard},
        MediumCase{"free space, coupled Jx/Jy", false, false, true, "1", Standard},
        MediumCase{"ground plane with ground points", true, true, false, "1", High},
        MediumCase{"ground points, coupled Jx/Jy", true, true, true, "1", High},
        MediumCase{"ground plane, coupled Jx/Jy", true, false, true, "1", Standard},
        MediumCase{"slab", true, false, false, "4.3", Standard},
        MediumCase{"slab, coupled Jx/Jy", true, false, true, "4.3", High}}) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    RecordingUi ui;
    LinesLayout layout;
    layout.LengthMm = 60;
    layout.Cells = 20;
    layout.Lines = 2;
    layout.GroundedEnds = c.groundPoints;
    layout.Stub = c.stub;
    Project p = LoadedLines(dir, layout, {1000.0, 75.0});
    p.Env.GroundPlane = c.groundPlane;
    p.Env.GPHeight = "1.5";
    p.Env.DielConst = c.epsR;
    std::vector<PortElement> ports = AddLoadPortSources(p);
    // The first line's own source, shorted, is a port as well.
    ports.push_back({true, p.VoltageSources[0].ElementNo, true, 0});
    const double thetaMax = c.groundPlane ? 85.0 : 160.0;
    const PlaneWave waves[] = {{0, 0, 0},          {30, 20, 0},  {30, 20, 90},
                               {60, 135, 0},       {60, 135, 90}, {thetaMax, 250, 0},
                               {thetaMax, 250, 90}, {45, 300, 90}};
    int points = 0;
    double worst = 0.0;
    ComputationSettings settings = ImmunitySettings(700);
    settings.Accuracy = c.accuracy;
    ForEachComputedPoint(p, settings, ui,
                         [&](SystemLayout layout, AssemblyInput& input, ComputationControl& control) {
      ++points;
      MultiExcitationResult solved;
      std::vector<PortReception> receptions;
      ASSERT_TRUE(
          immunity::SolvePortReceptions(layout, input, ports, control, solved, receptions));
      ASSERT_EQ(receptions.size(), ports.size());
      EXPECT_EQ(layout == SystemLayout::Coupled || layout == SystemLayout::CoupledWithGroundPoints,
                c.stub);
      for (const PlaneWave& wave : waves) {
        const std::vector<Complex> rhs = immunity::IncidentRightHandSide(layout, input, wave);
        for (std::size_t k = 0; k < ports.size(); ++k) {
          SCOPED_TRACE(::testing::Message() << "port " << k << " theta " << wave.ThetaDeg
                                            << " phi " << wave.PhiDeg << " pol " << wave.PolDeg);
          const Complex direct = DirectReceivedCurrent(layout, input, control, wave,
                                                       ports[k].IsJx, ports[k].ElementNo);
          const Complex received = immunity::ReceivedCurrent(receptions[k], rhs);
          ASSERT_GT(CAbs(direct), 1e-9);
          const double error = RelativeError(received, direct);
          worst = std::max(worst, error);
          EXPECT_LT(error, 1e-6);
        }
      }
    });
    EXPECT_EQ(points, 1);
    RecordProperty(c.name, std::to_string(worst));
    std::printf("%s: largest relative difference %.3g\n", c.name, worst);
    for (const std::string& message : ui.messages)
      EXPECT_EQ(message.rfind("Warning: ", 0), 0u) << message;
  }
}

}  // namespace
}  // namespace lumetra::testing

namespace lumetra::testing {
namespace {

// The port seen from its load is a Thevenin source: whatever the load (resistive,
// inductive, capacitive), the open-circuit voltage and the Thevenin impedance
// 1 / Y - Z_L come out the same, and the load's voltage divides accordingly. A
// wrong load impedance at the frequency, or a wrong scale of the received
// current, breaks the agreement.
TEST(ImmunityReciprocity, PortIsTheSameTheveninSourceForEveryLoad) {
  struct Load {
    double ohms, lc;
  };
  std::vector<Complex> openCircuit, thevenin, loadVoltage, loadImpedance;
  for (const Load& load : {Load{1000.0, 0.0}, Load{50.0, 5e-9}, Load{200.0, -2e-12}}) {
    TempDir dir;
    RecordingUi ui;
    LinesLayout layout;
    layout.Lines = 1;
    layout.LengthMm = 80;
    layout.Cells = 20;
    layout.GroundedEnds = true;
    Project p = LoadedLines(dir, layout, {load.ohms});
    p.Impedances[0].LC = load.lc;
    p.Env.GroundPlane = true;
    p.Env.GPHeight = "2";
    const std::vector<PortElement> ports = AddLoadPortSources(p);
    ForEachComputedPoint(p, ImmunitySettings(300), ui,
                         [&](SystemLayout l, AssemblyInput& input, ComputationControl& control) {
      MultiExcitationResult solved;
      std::vector<PortReception> r;
      ASSERT_TRUE(immunity::SolvePortReceptions(l, input, ports, control, solved, r));
      const Complex z = r[0].LoadImpedance;
      const double omega = 2 * M_PI * 300e6;
      const double reactance = load.lc > 0 ? omega * load.lc : load.lc < 0 ? 1 / (omega * load.lc) : 0;
      EXPECT_NEAR(z.Re, load.ohms, 1e-9 * load.ohms);
      EXPECT_NEAR(z.Im, reactance, 1e-9 * std::abs(reactance) + 1e-12);
      const Complex received =
          immunity::ReceivedCurrent(r[0], immunity::IncidentRightHandSide(l, input, {30, 20, 0}));
      openCircuit.push_back(immunity::OpenCircuitVoltage(r[0], received));
      thevenin.push_back(CSub(CDiv({1.0, 0.0}, r[0].DrivenCurrent), z));
      loadVoltage.push_back(immunity::PortVoltage(r[0], received));
      loadImpedance.push_back(z);
    });
  }
  ASSERT_EQ(openCircuit.size(), 3u);
  for (std::size_t k = 1; k < 3; ++k) {
    EXPECT_LT(RelativeError(openCircuit[k], openCircuit[0]), 1e-6) << k;
    EXPECT_LT(RelativeError(thevenin[k], thevenin[0]), 1e-6) << k;
  }
  for (std::size_t k = 0; k < 3; ++k) {
    const Complex divided = CDiv(CMul(openCircuit[0], loadImpedance[k]),
                                 Complex{thevenin[0].Re + loadImpedance[k].Re,
                                         thevenin[0].Im + loadImpedance[k].Im});
    EXPECT_LT(RelativeError(loadVoltage[k], divided), 1e-6) << k;
  }
}

}  // namespace
}  // namespace lumetra::testing
