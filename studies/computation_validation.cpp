#include "studies/computation_validation.h"

#include <algorithm>

#include "model/connections.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "studies/frequency_plan.h"

namespace lumetra {

namespace {

// Frequencies are kept below 300 GHz like the fields that feed them.
constexpr double MaxFrequencyMHz = 300000;

class Checks {
public:
  explicit Checks(UserInterface& ui) : ui_(ui) {}

  // field is the control whose text is checked; the first refused one gets the
  // focus back in the desktop program.
  double Real(const std::string& text, const char* name, double low, double high,
              const char* field) {
    double value = 0.0;
    if (!CheckReal(text, name, low, high, ui_, &value)) Refused(field);
    return value;
  }
  void Fail(const char* message, const char* field = nullptr) {
    ui_.ShowMessage(message);
    Refused(field);
  }
  void Refused(const char* field) {
    ok_ = false;
    if (field && firstField_.empty()) firstField_ = field;
  }
  bool Ok() const { return ok_; }
  const std::string& FirstField() const { return firstField_; }

private:
  UserInterface& ui_;
  bool ok_ = true;
  std::string firstField_;
};

}  // namespace

std::optional<ComputationPlan> ValidateComputation(Project& project,
                                                   const ComputationSettings& s,
                                                   UserInterface& ui,
                                                   std::string* refusedField) {
  const Environment& env = project.Env;
  Checks check(ui);
  ComputationPlan plan;
  plan.Sweep = s.SweepFreq;

  double dielectric = 1.0;
  const bool dielectricOk =
      CheckReal(env.DielConst, "Dielectric constant", 0.999999, 100, ui, &dielectric);
  if (!dielectricOk) check.Refused("DielConst");

  SweepRange sweep;
  if (!s.SweepFreq) {
    plan.Frequencies = {check.Real(s.Frequency, "Frequency", 0, MaxFrequencyMHz, "Frequency")};
  } else {
    sweep.Start = check.Real(s.StartFreq, "Start frequency", 0, MaxFrequencyMHz, "StartFreq");
    sweep.Stop = check.Real(s.StopFreq, "Stop frequency", 0, MaxFrequencyMHz, "StopFreq");
    sweep.Logarithmic = s.LogSweep;
    sweep.Step = s.LogSweep ? check.Real(s.StepFreq, "Multiplication factor", 1, MaxFrequencyMHz, "StepFreq")
                            : check.Real(s.StepFreq, "Step frequency", 0, MaxFrequencyMHz, "StepFreq");
    if (check.Ok() && sweep.Start > sweep.Stop)
      check.Fail("Error: Stop frequency must be greater than start frequency", "StopFreq");
    else if (check.Ok() && !s.FreqListCB &&
             CountSweepFrequencies(sweep) > static_cast<std::size_t>(MaxSweepPoints))
      check.Fail(TooManySweepPointsMessage, "StepFreq");
    if (s.FreqListCB) {
      // A listed frequency must lie in the range of a typed one: zero or a negative
      // value would divide by zero or compute a mirror image of the layout.
      for (const std::string& line : s.FrequencyList) {
        const std::optional<double> f = ParseRealText(line);
        if (!f || !(*f > 0.0 && *f < MaxFrequencyMHz)) {
          check.Fail(InvalidFrequencyListMessage);
          plan.Frequencies.clear();
          break;
        }
        plan.Frequencies.push_back(*f);
      }
    }
  }

  plan.IncidentField = s.IncField;
  if (s.IncField) {
    plan.IncTheta = check.Real(s.IncTheta, "Incident Theta angle", -0.1, 90, "IncTheta");
    plan.IncPhi = check.Real(s.IncPhi, "Incident Phi angle", -0.1, 360.1, "IncPhi");
    plan.IncPol = check.Real(s.IncPol, "Polarisation angle", -0.1, 90.1, "IncPol");
  } else if (project.VoltageSources.empty()) {
    check.Fail("Error: You have not defined any voltage sources!");
  }
  plan.UseLoads = s.ImpFile;
  if (s.ImpFile && project.Impedances.empty())
    check.Fail("Error: You have not defined any impedances!");

  plan.FarField = s.FarField;
  if (s.FarField) {
    // Over a ground plane only the upper half space radiates.
    const bool half = env.GroundPlane;
    plan.ThetaStart = check.Real(s.ThetaStart, "Far field Theta angle", half ? -90.1 : -180.1,
                                 half ? 90.1 : 180.1, "ThetaStart");
    plan.ThetaStop = check.Real(s.ThetaStop, "Far field Theta angle", -0.1, half ? 90.1 : 180.1,
                                "ThetaStop");
    plan.ThetaStep = check.Real(s.ThetaStep, "Far field Theta angle step", 0.1, 180.1, "ThetaStep");
    plan.PhiStart = check.Real(s.PhiStart, "Far field Phi angle", -0.1, 360.1, "PhiStart");
    plan.PhiStop = check.Real(s.PhiStop, "Far field Phi angle", -0.1, 360.1, "PhiStop");
    plan.PhiStep = check.Real(s.PhiStep, "Far field Phi angle step", 0.1, 180.1, "PhiStep");
  }

  plan.GroundPlane = env.GroundPlane;
  if (env.GroundPlane) {
    plan.HeightMm =
        check.Real(env.GPHeight, "Distance between layout and ground plane", 0, 1000,
                   "GPHeight");
    if (dielectricOk && dielectric > 1.0 && !project.GroundPoints.empty())
      check.Fail("Error: You cannot use ground points together with dielectric material");
  }
  plan.EpsR = env.GroundPlane ? dielectric : 1.0;

  plan.FiniteConductivity = env.FiniteConductivity;
  if (env.FiniteConductivity)
    plan.SurfaceResistance = check.Real(env.Conductivity, "Conductivity for segments", 0, 1e12,
                                             "Conductivity");
  plan.RigSol = s.RigSol;
  plan.Integration = s.Integration;
  plan.Accuracy = s.Accuracy;
  plan.EffectivePermittivity = s.EffectivePermittivity;
  plan.MaxUnknowns = std::max(s.MaxUnknowns, DefaultMaxUnknowns);

  // The connecting elements are derived afresh for every run.
  bool connected = false;
  try {
    connected = RunConnectionStep(project, ui);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
  if (!connected) check.Fail(NotConnectedMessage);

  if (!check.Ok()) {
    if (refusedField) *refusedField = check.FirstField();
    return std::nullopt;
  }
  if (s.SweepFreq && !s.FreqListCB) plan.Frequencies = SweepFrequencies(sweep);
  return plan;
}

}  // namespace lumetra
