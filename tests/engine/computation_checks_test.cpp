// Every range check of the Computation page at both of its exclusive bounds: the
// bound itself is refused with the field's own message, a value just inside passes.
#include <gtest/gtest.h>

#include <functional>

#include "studies/computation_validation.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::RecordingUi;
using testing::SingleFrequency;
using testing::StripDipole;
using testing::TempDir;

using Setter = std::function<void(ComputationSettings&, Project&, const std::string&)>;

struct RangeCheck {
  const char* name;
  Setter set;
  std::string low, high;              // the bounds as typed
  std::string insideLow, insideHigh;  // values just inside them
  std::string highShown = "";         // the upper bound as the message shows it, if not as typed
};

Setter SweepField(std::string ComputationSettings::*field, const char* start, const char* stop,
             bool logarithmic = false) {
  return [=](ComputationSettings& s, Project&, const std::string& v) {
    s.SweepFreq = true;
    s.LogSweep = logarithmic;
    s.StartFreq = start;
    s.StopFreq = stop;
    s.StepFreq = "10";  // few enough points for every start and stop tried below
    s.*field = v;
  };
}

Setter IncidentAngle(std::string ComputationSettings::*field) {
  return [=](ComputationSettings& s, Project&, const std::string& v) {
    s.IncField = true;
    s.*field = v;
  };
}

Setter FarFieldAngle(std::string ComputationSettings::*field, bool groundPlane) {
  return [=](ComputationSettings& s, Project& p, const std::string& v) {
    s.FarField = true;
    p.Env.GroundPlane = groundPlane;
    s.*field = v;
  };
}

Setter EnvironmentField(std::string Environment::*field, bool groundPlane, bool conductivity) {
  return [=](ComputationSettings&, Project& p, const std::string& v) {
    p.Env.GroundPlane = groundPlane;
    p.Env.FiniteConductivity = conductivity;
    p.Env.*field = v;
  };
}

TEST(ComputationChecks, EveryRangeAtItsLowerAndUpperBound) {
  using S = ComputationSettings;
  const RangeCheck checks[] = {
      {"Dielectric constant", EnvironmentField(&Environment::DielConst, true, false), "0.999999", "100",
       "1", "99.99"},
      {"Frequency", [](S& s, Project&, const std::string& v) { s.Frequency = v; }, "0", "300000",
       "0.001", "299999.9"},
      {"Start frequency", SweepField(&S::StartFreq, "1", "299999.95"), "0", "300000", "0.001",
       "299999.9"},
      {"Stop frequency", SweepField(&S::StopFreq, "0.0001", "1"), "0", "300000", "0.001", "299999.9"},
      {"Step frequency", SweepField(&S::StepFreq, "100", "100.05"), "0", "300000", "0.001", "299999.9"},
      {"Multiplication factor", SweepField(&S::StepFreq, "100", "1000", true), "1", "300000", "1.001",
       "299999.9"},
      {"Incident Theta angle", IncidentAngle(&S::IncTheta), "-0.1", "90", "-0.09", "89.99"},
      {"Incident Phi angle", IncidentAngle(&S::IncPhi), "-0.1", "360.1", "-0.09", "360.09"},
      {"Polarisation angle", IncidentAngle(&S::IncPol), "-0.1", "90.1", "-0.09", "90.09"},
      {"Far field Theta angle", FarFieldAngle(&S::ThetaStart, true), "-90.1", "90.1", "-90.09", "90"},
      {"Far field Theta angle", FarFieldAngle(&S::ThetaStart, false), "-180.1", "180.1", "-180.09",
       "180.09"},
      {"Far field Theta angle", FarFieldAngle(&S::ThetaStop, true), "-0.1", "90.1", "-0.09", "90.09"},
      {"Far field Theta angle", FarFieldAngle(&S::ThetaStop, false), "-0.1", "180.1", "-0.09", "180.09"},
      {"Far field Theta angle step", FarFieldAngle(&S::ThetaStep, false), "0.1", "180.1", "0.11",
       "180.09"},
      {"Far field Phi angle", FarFieldAngle(&S::PhiStart, false), "-0.1", "360.1", "-0.09", "360.09"},
      {"Far field Phi angle", FarFieldAngle(&S::PhiStop, false), "-0.1", "360.1", "-0.09", "360.09"},
      {"Far field Phi angle step", FarFieldAngle(&S::PhiStep, false), "0.1", "180.1", "0.11", "180.09"},
      {"Distance between layout and ground plane", EnvironmentField(&Environment::GPHeight, true, false),
       "0", "1000", "0.001", "999.9"},
      {"Conductivity for segments", EnvironmentField(&Environment::Conductivity, false, true), "0",
       "1e12", "1e-9", "9.99e11", "1000000000000"},
  };
  for (const RangeCheck& c : checks) {
    const auto messages = [&](const std::string& value) {
      TempDir dir;
      RecordingUi ui;
      Project p = StripDipole(dir, 60, 2, 20);
      ComputationSettings s = SingleFrequency(1000);
      c.set(s, p, value);
      const bool accepted = ValidateComputation(p, s, ui).has_value();
      EXPECT_EQ(accepted, ui.messages.empty()) << c.name << " " << value;
      return ui.messages;
    };
    const std::string prefix = std::string("Error: Out of range! ") + c.name;
    const std::string high = c.highShown.empty() ? c.high : c.highShown;
    EXPECT_EQ(messages(c.low), std::vector<std::string>{prefix + " must be greater than " + c.low});
    EXPECT_EQ(messages(c.high), std::vector<std::string>{prefix + " must be smaller than " + high});
    EXPECT_EQ(messages(c.insideLow), std::vector<std::string>{}) << c.name << " " << c.insideLow;
    EXPECT_EQ(messages(c.insideHigh), std::vector<std::string>{}) << c.name << " " << c.insideHigh;
  }
}

}  // namespace
}  // namespace lumetra
