#include "studies/computation_driver.h"

#include <cstdio>

#include "fields/result_files.h"
#include "model/batch_mode.h"
#include "model/file_io.h"
#include "model/number_format.h"
#include "model/project_files.h"
#include "model/project_lock.h"
#include "solver/complex_storage.h"
#include "solver/effective_permittivity.h"
#include "solver/element_lists.h"
#include "studies/narrow_strip_warning.h"
#include "studies/time_estimate.h"

namespace lumetra {

namespace {

using Clock = std::chrono::steady_clock;

// Deletes the temporary project copy when the run ends, however it ends.
class TemporaryCopy {
public:
  explicit TemporaryCopy(std::filesystem::path directory) : directory_(std::move(directory)) {}
  ~TemporaryCopy() { DeleteTempFiles(directory_); }
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;
  std::filesystem::path Base() const { return directory_ / TempFileBase; }

private:
  std::filesystem::path directory_;
};

struct Run {
  Project& project;
  const ComputationSettings& settings;
  const ComputationPlan& plan;
  const RunEnvironment& environment;
  ComputationControl& control;
  const TemporaryCopy& copy;
  ComputationReport& report;
  const FrequencyPointSolver& solvePoint;
  bool ignoreGroundPoints = false;
  Clock::time_point start{};
  ApproximationSchedule approximation{};  // the fitted effective permittivity of the run
};

// Ends the run: the sweep stops and the completion says it was aborted.
void StopRun(Run& run, const char* message = nullptr) {
  if (message) run.control.ui.ShowMessage(message);
  run.control.AbortRequested = true;
}

// A failure while the project copy or the results were written: the files keep
// the points finished before it, and the message says which.
void StopRunOnWriteError(Run& run, const FileError& error) {
  std::vector<double> kept;
  for (const FrequencyPointResult& point : run.report.Points) kept.push_back(point.FrequencyMHz);
  const std::string message = WithKeptResults(error.what(), kept);
  StopRun(run, message.c_str());
}

// Asks before the first point whether to go on; false when the user says No.
bool ConfirmFirstPoint(Run& run, std::int32_t unknowns, bool dielectricPresent) {
  if (BatchMode) return true;
  UserInterface& ui = run.control.ui;
  if (!run.settings.ShowTimeEstimate || dielectricPresent)
    return ui.AskYesNo(std::to_string(unknowns) + " unknowns. Proceed with computation?");
  const TimeConstants constants =
      ReadTimeConstants(run.environment.StartupDirectory / TimeEstimateFileName);
  const double seconds =
      EstimateSeconds(constants, unknowns, run.plan.GroundPlane, run.plan.Frequencies.size());
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", seconds);
  return ui.AskYesNo(std::to_string(unknowns) + " unknowns, estimated computation time: " + text +
                     " seconds. Proceed with computation?");
}

SystemLayout ChooseLayout(const ElementLists& e, bool groundPoints) {
  if (e.NY() == 0) return groundPoints ? SystemLayout::JxWithGroundPoints : SystemLayout::JxOnly;
  if (e.NX() == 0) return groundPoints ? SystemLayout::JyWithGroundPoints : SystemLayout::JyOnly;
  return groundPoints ? SystemLayout::CoupledWithGroundPoints : SystemLayout::Coupled;
}

void ComputeFrequency(Run& run, bool firstPoint, double frequency, double epsR) {
  UserInterface& ui = run.control.ui;
  const ComputationPlan& plan = run.plan;
  const bool dielectricPresent = epsR > 1.0 && plan.GroundPlane;
  // The free-space and image terms see the mean of the two half spaces; the
  // rigorous model adds the slab's spectral correction to that, the effective
  // models replace it by a permittivity nearer to the slab's.
  double epsEff = Eps0 * (1.0 + epsR) * 0.5;
  if (dielectricPresent && !plan.RigSol) {
    const EffectivePermittivitySettings& model = plan.EffectivePermittivity;
    if (model.Model == EffectivePermittivityModel::SimpleFormula) {
      epsEff = SimpleEffectivePermittivity(epsR, plan.HeightMm, run.project.GridSize);
    } else {
      if (NextPointApproximates(run.approximation, firstPoint, model.Every))
        run.approximation.Stored =
            ApproximateEpsEff(frequency, epsR, plan.HeightMm * MillimetreToMetre,
                              run.project.GridSize * MillimetreToMetre, plan.Integration);
      epsEff = run.approximation.Stored;
    }
  }
  const FrequencyConstants constants = MakeFrequencyConstants(
      frequency, epsEff, epsR, plan.GroundPlane, plan.HeightMm * MillimetreToMetre);

  ui.SetStatusText(StatusPanel::State, "Reading");
  ElementLists elements;
  try {
    elements = LoadElementLists(run.copy.Base(), run.project.ProjectFile);
  } catch (const FileError& error) {
    ui.SetStatusText(StatusPanel::State, "");
    StopRun(run, error.what());
    return;
  }
  ui.SetStatusText(StatusPanel::State, "");
  ui.SetStatusText(StatusPanel::Progress, "");
  if (run.ignoreGroundPoints) elements.GroundPoints.clear();
  const std::int32_t nx = elements.NX(), ny = elements.NY(), ng = elements.NG();
  const std::int32_t unknowns = nx + ny + ng;

  const std::int32_t limit = plan.MaxUnknowns;
  if (nx + ng > limit || ny + ng > limit) return StopRun(run, TooManyUnknownsText(limit).c_str());
  if (!(nx > 1) && !(ny > 1))
    return StopRun(run, "To few current elements in x or y-direction, cannot perform computation");
  // Every point asks again: what the machine can give changes while a sweep runs.
  if (const std::optional<std::int64_t> available =
          run.environment.AvailableMemory ? run.environment.AvailableMemory() : std::nullopt) {
    const bool groundModelled = plan.GroundPlane && ng > 0;
    const std::int64_t needed = FrequencyPointBytes(elements, groundModelled, plan.GroundPlane);
    if (const std::optional<std::string> refusal =
            MemoryRefusal(SystemOrder(elements, groundModelled), needed, *available))
      return StopRun(run, refusal->c_str());
  }

  if (firstPoint) {
    run.report.Unknowns = unknowns;
    if (!ConfirmFirstPoint(run, unknowns, dielectricPresent)) return StopRun(run);
    if (ng > 0 && !plan.GroundPlane) {
      if (!BatchMode &&
          !ui.AskYesNo("Warning: You have defined ground connection(s) but no ground plane, "
                       "proceed with computation?"))
        return StopRun(run);
      ui.ShowMessage("Ground connections will be ignored");
      run.ignoreGroundPoints = true;
      elements.GroundPoints.clear();
    }
  }

  BusyCursor busy(ui);
  try {
    if (firstPoint) CreateEmptyResultFiles(run.project.ProjectFile);
  } catch (const FileError& error) {
    return StopRun(run, error.what());
  }
  ui.SetStatusText(StatusPanel::State, elements.SymAll ? "Filling matrix (sym.)" : "Filling matrix");
  ui.SetStatusText(StatusPanel::Progress,
                   "Computing at " + FormatGeneral(frequency, 4) + " MHz");
  if (firstPoint) run.start = Clock::now();
  if (run.control.PumpAndCheckAbort()) return;

  const bool groundPointsModelled = plan.GroundPlane && !elements.GroundPoints.empty();
  const SystemLayout layout = ChooseLayout(elements, groundPointsModelled);
  if (layout == SystemLayout::JxWithGroundPoints)
    for (const GroundContact& g : elements.GroundPoints)
      if (!g.OnXEdge) {
        ui.ShowMessage(
            "Error: Ground points are not valid, should be placed at left and/or right edges.");
        ui.SetStatusText(StatusPanel::Progress, "");
        return;
      }
  if (layout == SystemLayout::JyWithGroundPoints)
    for (const GroundContact& g : elements.GroundPoints)
      if (g.OnXEdge) {
        ui.ShowMessage(
            "Error: Ground points are not valid, should be placed at bottom and/or top edges.");
        ui.SetStatusText(StatusPanel::Progress, "");
        return;
      }

  AssemblyInput input{elements, constants, plan, run.project, firstPoint};
  FrequencyPointResult result;
  try {
    const bool solved = run.solvePoint ? run.solvePoint(layout, input, run.control, result)
                                       : SolveFrequencyPoint(layout, input, run.control, result);
    if (solved && !run.control.AbortRequested)
      run.report.Points.push_back(result);
  } catch (const FileError& error) {
    StopRunOnWriteError(run, error);
  }
  ui.SetStatusText(StatusPanel::Progress, "");
}

}  // namespace

std::string TooManyUnknownsText(std::int32_t limit) {
  if (limit <= DefaultMaxUnknowns) return TooManyUnknownsMessage;
  return std::string(TooManyUnknownsMessage) + ": more than " + std::to_string(limit) +
         " unknowns in one direction (the Maximum number of unknowns)";
}

ComputationReport RunComputation(Project& project, const ComputationSettings& settings,
                                 const RunEnvironment& environment, ComputationControl& control,
                                 const std::function<void()>& started,
                                 const FrequencyPointSolver& solvePoint) {
  ComputationReport report;
  UserInterface& ui = control.ui;
  // Before anything is written: validation already rewrites the connecting-element
  // files, and every point the .PRO and the result files.
  std::optional<ProjectLock> lock;
  try {
    lock = ProjectLock::TryTake(project.ProjectFile);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return report;
  }
  if (!lock) {
    report.ProjectBusy = true;
    ui.ShowMessage(ProjectBusyMessage(project.ProjectFile));
    return report;
  }
  const std::optional<ComputationPlan> plan =
      ValidateComputation(project, settings, ui, &report.RefusedField);
  if (!plan) return report;
  report.Started = true;
  if (started) started();
  control.AbortRequested = false;
  if (plan->Frequencies.empty()) {
    ui.ShowMessage(EmptyFrequencyListMessage);
    report.Aborted = true;
    return report;
  }
  // Over a ground plane the width of a trace sets its impedance and inductance.
  if (plan->GroundPlane && HasOneCellWideStrip(project)) ui.ShowWarning(NarrowStripWarning);

  TemporaryCopy copy(environment.WorkDirectory);
  Run run{project, settings, *plan, environment, control, copy, report, solvePoint};
  bool first = true;
  for (double frequency : plan->Frequencies) {
    try {
      SaveProjectFiles(project, copy.Base());
    } catch (const FileError& error) {
      if (first) StopRun(run, error.what());
      else StopRunOnWriteError(run, error);
      break;
    }
    control.AbortRequested = false;
    ComputeFrequency(run, first, frequency, plan->EpsR);
    first = false;
    if (control.AbortRequested) break;
  }

  ui.SetStatusText(StatusPanel::Progress, "");
  if (control.AbortRequested) {
    report.Aborted = true;
    ui.ShowMessage(AbortedMessage);
    ui.SetStatusText(StatusPanel::State, "");
    return report;
  }
  const auto end = Clock::now();
  ui.SetStatusText(StatusPanel::State, "");
  if (settings.CompSound) ui.Beep();
  // Fill time runs from the start of the run to the start of the last inversion.
  double lastSolve = report.Points.empty() ? 0.0 : report.Points.back().SolveSeconds;
  report.Total = end - run.start;
  report.Invert = std::chrono::duration<double>(lastSolve);
  report.Fill = report.Total - report.Invert;
  if (settings.ShowCompTime && !BatchMode)
    ui.ShowMessage(CompletionReport(report.Total, report.Fill, report.Invert));
  if (!plan->Sweep && plan->FarField && !report.Points.empty())
    report.InputPower = report.Points.back().InputPower;
  return report;
}

}  // namespace lumetra
