#include "studies/computation_validation.h"

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

  double Real(const std::string& text, const char* name, double low, double high) {
    double value = 0.0;
    if (!CheckReal(text, name, low, high, ui_, &value)) ok_ = false;
    return value;
  }
  void Fail(const char* message) {
    ui_.ShowMessage(message);
    ok_ = false;
  }
  void MarkFailed() { ok_ = false; }
  bool Ok() const { return ok_; }

private:
  UserInterface& ui_;
  bool ok_ = true;
};

}  // namespace

std::optional<ComputationPlan> ValidateComputation(Project& project,
                                                   const ComputationSettings& s,
                                                   UserInterface& ui) {
  const Environment& env = project.Env;
  Checks check(ui);
  ComputationPlan plan;
  plan.Sweep = s.SweepFreq;

  double dielectric = 1.0;
  const bool dielectricOk =
      CheckReal(env.DielConst, "Dielectric constant", 0.999999, 100, ui, &dielectric);
  if (!dielectricOk) check.MarkFailed();

  SweepRange sweep;
  if (!s.SweepFreq) {
    plan.Frequencies = {check.Real(s.Frequency, "Frequency", 0, MaxFrequencyMHz)};
  } else {
    sweep.Start = check.Real(s.StartFreq, "Start frequency", 0, MaxFrequencyMHz);
    sweep.Stop = check.Real(s.StopFreq, "Stop frequency", 0, MaxFrequencyMHz);
    sweep.Logarithmic = s.LogSweep;
    sweep.Step = s.LogSweep ? check.Real(s.StepFreq, "Multiplication factor", 1, MaxFrequencyMHz)
                            : check.Real(s.StepFreq, "Step frequency", 0, MaxFrequencyMHz);
    if (check.Ok() && sweep.Start > sweep.Stop)
      check.Fail("Error: Stop frequency must be greater than start frequency");
    else if (check.Ok() && !s.FreqListCB &&
             CountSweepFrequencies(sweep) > static_cast<std::size_t>(MaxSweepPoints))
      check.Fail(TooManySweepPointsMessage);
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
    plan.IncTheta = check.Real(s.IncTheta, "Incident Theta angle", -0.1, 90);
    plan.IncPhi = check.Real(s.IncPhi, "Incident Phi angle", -0.1, 360.1);
    plan.IncPol = check.Real(s.IncPol, "Polarisation angle", -0.1, 90.1);
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
                                 half ? 90.1 : 180.1);
    plan.ThetaStop = check.Real(s.ThetaStop, "Far field Theta angle", -0.1, half ? 90.1 : 180.1);
    plan.ThetaStep = check.Real(s.ThetaStep, "Far field Theta angle step", 0.1, 180.1);
    plan.PhiStart = check.Real(s.PhiStart, "Far field Phi angle", -0.1, 360.1);
    plan.PhiStop = check.Real(s.PhiStop, "Far field Phi angle", -0.1, 360.1);
    plan.PhiStep = check.Real(s.PhiStep, "Far field Phi angle step", 0.1, 180.1);
  }

  plan.GroundPlane = env.GroundPlane;
  if (env.GroundPlane) {
    plan.HeightMm =
        check.Real(env.GPHeight, "Distance between layout and ground plane", 0, 1000);
    if (dielectricOk && dielectric > 1.0 && !project.GroundPoints.empty())
      check.Fail("Error: You cannot use ground points together with dielectric material");
  }
  plan.EpsR = env.GroundPlane ? dielectric : 1.0;

  plan.FiniteConductivity = env.FiniteConductivity;
  if (env.FiniteConductivity)
    plan.SurfaceResistance = check.Real(env.Conductivity, "Conductivity for segments", 0, 1e12);
  plan.RigSol = s.RigSol;
  plan.Integration = s.Integration;
  plan.EffectivePermittivity = s.EffectivePermittivity;

  // The connecting elements are derived afresh for every run.
  bool connected = false;
  try {
    connected = RunConnectionStep(project, ui);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
  if (!connected) check.Fail(NotConnectedMessage);

  if (!check.Ok()) return std::nullopt;
  if (s.SweepFreq && !s.FreqListCB) plan.Frequencies = SweepFrequencies(sweep);
  return plan;
}

}  // namespace lumetra
