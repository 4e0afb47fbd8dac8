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
  double tolerance;
};

double RelativeError(Complex a, Complex b) {
  const double d = std::hypot(a.Re - b.Re, a.Im - b.Im);
  return d / std::max(CAbs(b), 1e-300);
}

TEST(ImmunityReciprocity, ReceivedCurrentEqualsDirectPlaneWaveSolve) {
  // The identity is exact for a symmetric system. The couplings between a ground
  // point and the current elements are filled with a residual asymmetry of about
  // 4e-4 relative (the two orders of integration), which bounds the agreement
  // there; the slab's spectral correction of the Jx-Jy couplings likewise (about
  // 1e-4); everywhere else the two ways agree to the last digits.
  for (const MediumCase& c :
       {MediumCase{"free space", false, false, false, "1", 1e-6},
        MediumCase{"free space, coupled Jx/Jy", false, false, true, "1", 1e-6},
        MediumCase{"ground plane with ground points", true, true, false, "1", 3e-4},
        MediumCase{"ground points, coupled Jx/Jy", true, true, true, "1", 3e-4},
        MediumCase{"ground plane, coupled Jx/Jy", true, false, true, "1", 1e-6},
        MediumCase{"slab", true, false, false, "4.3", 1e-6},
        MediumCase{"slab, coupled Jx/Jy", true, false, true, "4.3", 5e-4}}) {
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
    ForEachComputedPoint(p, ImmunitySettings(700), ui,
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
          EXPECT_LT(error, c.tolerance);
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
