#include "studies/computation_driver.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>

#include "fields/result_files.h"
#include "model/batch_mode.h"
#include "model/file_io.h"
#include "model/number_format.h"
#include "model/project_files.h"
#include "model/private_directory.h"
#include "model/project_lock.h"
#include "solver/complex_storage.h"
#include "solver/effective_permittivity.h"
#include "solver/dense_lu.h"
#include "solver/element_lists.h"
#include "solver/parallel_pieces.h"
#include "studies/concurrent_points.h"
#include "studies/deferred_user_interface.h"
#include "studies/point_exchange.h"
#include "studies/point_record.h"
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

// The fitted effective permittivity of each renewal point, computed once by
// whichever point needs it first.
class PermittivityFits {
public:
  explicit PermittivityFits(std::size_t points)
      : once_(std::make_unique<std::once_flag[]>(points)), values_(points, 0.0) {}
  double At(std::size_t anchor, const std::function<double()>& fit) {
    std::call_once(once_[anchor], [&] { values_[anchor] = fit(); });
    return values_[anchor];
  }

private:
  std::unique_ptr<std::once_flag[]> once_;
  std::vector<double> values_;
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
  const PointKeeper& keepPoint;
  PermittivityFits fits;
  bool ignoreGroundPoints = false;
  Clock::time_point start{};
};

// Ends the run: the sweep stops and the completion says it was aborted.
void StopRun(Run& run, const char* message = nullptr) {
  if (message) run.control.ui.ShowMessage(message);
  run.control.AbortRequested = true;
}

// A failure while the project copy or the results were written: the files keep
// the points finished before it, and the message says which.
void StopRunOnWriteError(Run& run, std::string_view error) {
  std::vector<double> kept;
  for (const FrequencyPointResult& point : run.report.Points) kept.push_back(point.FrequencyMHz);
  const std::string message = WithKeptResults(error, kept);
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

bool DielectricPresent(const Run& run) { return run.plan.EpsR > 1.0 && run.plan.GroundPlane; }

// The constants of point `index` of the run, a function of the index alone: the
// free-space and image terms see the mean of the two half spaces; the rigorous
// model adds the slab's spectral correction to that, the effective models replace
// it by a permittivity nearer to the slab's.
FrequencyConstants PointConstants(Run& run, std::size_t index) {
  const ComputationPlan& plan = run.plan;
  const double frequency = plan.Frequencies[index];
  const double epsR = plan.EpsR;
  double epsEff = Eps0 * (1.0 + epsR) * 0.5;
  if (DielectricPresent(run) && !plan.RigSol) {
    const EffectivePermittivitySettings& model = plan.EffectivePermittivity;
    if (model.Model == EffectivePermittivityModel::SimpleFormula) {
      epsEff = SimpleEffectivePermittivity(epsR, plan.HeightMm, run.project.GridSize);
    } else {
      const std::size_t anchor = ApproximationAnchor(index, model.Every);
      epsEff = run.fits.At(anchor, [&] {
        return ApproximateEpsEff(plan.Frequencies[anchor], epsR, plan.HeightMm * MillimetreToMetre,
                                 run.project.GridSize * MillimetreToMetre, plan.Integration);
      });
    }
  }
  return MakeFrequencyConstants(frequency, epsEff, epsR, plan.GroundPlane,
                                plan.HeightMm * MillimetreToMetre);
}

// A point whose element lists are loaded and checked, ready to be solved.
struct PreparedPoint {
  ElementLists Elements;
  SystemLayout Layout = SystemLayout::JxOnly;
};

// The steps of a point before its solve, on the calling thread: reading the
// element lists, the checks and (at the first point) the questions of the run.
// None when the point is not solved (the run is stopped, or the point skipped).
std::optional<PreparedPoint> PreparePoint(Run& run, std::size_t index) {
  UserInterface& ui = run.control.ui;
  const ComputationPlan& plan = run.plan;
  const bool firstPoint = index == 0;
  const double frequency = plan.Frequencies[index];

  ui.SetStatusText(StatusPanel::State, "Reading");
  PreparedPoint point;
  ElementLists& elements = point.Elements;
  try {
    elements = LoadElementLists(run.copy.Base(), run.project.ProjectFile);
  } catch (const FileError& error) {
    ui.SetStatusText(StatusPanel::State, "");
    StopRun(run, error.what());
    return std::nullopt;
  }
  ui.SetStatusText(StatusPanel::State, "");
  ui.SetStatusText(StatusPanel::Progress, "");
  if (run.ignoreGroundPoints) elements.GroundPoints.clear();
  const std::int32_t nx = elements.NX(), ny = elements.NY(), ng = elements.NG();
  const std::int32_t unknowns = nx + ny + ng;

  const std::int32_t limit = plan.MaxUnknowns;
  if (nx + ng > limit || ny + ng > limit) {
    StopRun(run, TooManyUnknownsText(limit).c_str());
    return std::nullopt;
  }
  if (!(nx > 1) && !(ny > 1)) {
    StopRun(run, "To few current elements in x or y-direction, cannot perform computation");
    return std::nullopt;
  }
  // Every point asks again: what the machine can give changes while a sweep runs.
  if (const std::optional<std::int64_t> available =
          run.environment.AvailableMemory ? run.environment.AvailableMemory() : std::nullopt) {
    const bool groundModelled = plan.GroundPlane && ng > 0;
    const std::int64_t needed = FrequencyPointBytes(elements, groundModelled, plan.GroundPlane);
    if (const std::optional<std::string> refusal =
            MemoryRefusal(SystemOrder(elements, groundModelled), needed, *available)) {
      StopRun(run, refusal->c_str());
      return std::nullopt;
    }
  }

  if (firstPoint) {
    run.report.Unknowns = unknowns;
    if (!ConfirmFirstPoint(run, unknowns, DielectricPresent(run))) {
      StopRun(run);
      return std::nullopt;
    }
    if (ng > 0 && !plan.GroundPlane) {
      if (!BatchMode &&
          !ui.AskYesNo("Warning: You have defined ground connection(s) but no ground plane, "
                       "proceed with computation?")) {
        StopRun(run);
        return std::nullopt;
      }
      ui.ShowMessage("Ground connections will be ignored");
      run.ignoreGroundPoints = true;
      elements.GroundPoints.clear();
    }
  }

  try {
    if (firstPoint) CreateEmptyResultFiles(run.project.ProjectFile);
  } catch (const FileError& error) {
    StopRun(run, error.what());
    return std::nullopt;
  }
  ui.SetStatusText(StatusPanel::State, elements.SymAll ? "Filling matrix (sym.)" : "Filling matrix");
  ui.SetStatusText(StatusPanel::Progress,
                   "Computing at " + FormatGeneral(frequency, 4) + " MHz");
  if (firstPoint) run.start = Clock::now();
  if (run.control.PumpAndCheckAbort()) return std::nullopt;

  const bool groundPointsModelled = plan.GroundPlane && !elements.GroundPoints.empty();
  point.Layout = ChooseLayout(elements, groundPointsModelled);
  const bool wantOnXEdge = point.Layout == SystemLayout::JxWithGroundPoints;
  if (wantOnXEdge || point.Layout == SystemLayout::JyWithGroundPoints)
    for (const GroundContact& g : elements.GroundPoints)
      if (g.OnXEdge != wantOnXEdge) {
        ui.ShowMessage(wantOnXEdge
                           ? "Error: Ground points are not valid, should be placed at left and/or "
                             "right edges."
                           : "Error: Ground points are not valid, should be placed at bottom "
                             "and/or top edges.");
        ui.SetStatusText(StatusPanel::Progress, "");
        return std::nullopt;
      }
  return point;
}

bool SolvePoint(Run& run, SystemLayout layout, AssemblyInput& input, ComputationControl& control,
                FrequencyPointResult& result, std::string& kept) {
  return run.solvePoint ? run.solvePoint(layout, input, control, result, kept)
                        : SolveFrequencyPoint(layout, input, control, result);
}

void KeepPoint(Run& run, const FrequencyPointResult& result, const std::string& kept) {
  if (run.keepPoint) run.keepPoint(result, kept);
  run.report.Points.push_back(result);
}

// One point from start to end on the calling thread, its blocks written straight
// into the result files.
void ComputeFrequency(Run& run, std::size_t index,
                      std::optional<PreparedPoint> point = std::nullopt) {
  UserInterface& ui = run.control.ui;
  if (!point) point = PreparePoint(run, index);
  if (!point) return;
  BusyCursor busy(ui);
  const FrequencyConstants constants = PointConstants(run, index);
  AssemblyInput input{point->Elements, constants, run.plan, run.project, index == 0};
  FrequencyPointResult result;
  std::string kept;
  try {
    const bool solved = SolvePoint(run, point->Layout, input, run.control, result, kept);
    if (solved && !run.control.AbortRequested) KeepPoint(run, result, kept);
  } catch (const FileError& error) {
    StopRunOnWriteError(run, error.what());
  }
  ui.SetStatusText(StatusPanel::Progress, "");
}

// A point solved on a worker thread, kept until its turn to be committed.
struct SolvedPoint {
  PointRecord Record;
  std::exception_ptr Failure;  // what the point threw besides a write error
};


// The blocks a point wrote beside its scratch project file, read back; the scratch
// files are then removed.
std::vector<std::string> TakePointBlocks(const std::filesystem::path& scratch, bool farField) {
  std::vector<std::string> blocks;
  for (const std::filesystem::path& file : ComputationResultFiles(scratch, farField)) {
    std::error_code error;
    blocks.push_back(std::filesystem::exists(file, error) ? ReadTextFile(file) : std::string());
  }
  std::error_code ignored;
  std::filesystem::remove_all(scratch.parent_path(), ignored);
  return blocks;
}

// Appends a point's blocks to the project's result files; all or none of them (a
// write error takes back the rest).
void AppendPointBlocks(const std::vector<std::string>& blocks, const std::filesystem::path& project,
                       bool farField) {
  const std::vector<std::filesystem::path> files = ComputationResultFiles(project, farField);
  ResultPointGuard point(files, false);
  for (std::size_t f = 0; f < files.size() && f < blocks.size(); ++f)
    if (!blocks[f].empty()) WriteResultBlock(files[f], false, blocks[f]);
  point.Keep();
}

// The whole sweep with `jobs` points in flight, the first one prepared: every point
// reuses its element lists (the project does not change during the run). With an
// exchange, this process solves its share of the points; rank 0 commits them all.
void ComputeConcurrently(Run& run, const PreparedPoint& first, int jobs) {
  UserInterface& ui = run.control.ui;
  const ComputationPlan& plan = run.plan;
  PointExchange* exchange = run.settings.Exchange;
  const bool commits = !exchange || exchange->Commits();
  BusyCursor busy(ui);
  const PrivateDirectory scratch("lumetra-points-");
  const std::filesystem::path name = std::filesystem::path(run.project.ProjectFile).filename();
  try {
    // As the first point of a one-at-a-time run would: no pattern of an earlier run.
    if (plan.FarField)
      WriteResultBlock(ProjectFileWithExtension(run.project.ProjectFile, ".RAD"), true, {});
  } catch (const FileError& error) {
    return StopRun(run, error.what());
  }
  std::vector<SolvedPoint> records(plan.Frequencies.size());
  std::vector<char> remote(records.size(), 0);
  const int workersPerPoint = std::max(1, FillWorkerCount() / jobs);
  const BlasThreadLimit blas(workersPerPoint);

  ConcurrentPoints points;
  points.Count = records.size();
  points.Jobs = jobs;
  if (exchange) {
    points.SolvedHere = [exchange](std::size_t index) { return exchange->Solves(index); };
    if (!commits) {
      points.CommittedHere = points.SolvedHere;
      points.StopRequested = [exchange] { return exchange->StopRequested(); };
    }
    points.Arrived = [&](std::size_t index) {
      if (!ReceivePointRecord(*exchange, index, records[index].Record)) return false;
      remote[index] = 1;
      return true;
    };
  }
  points.Solve = [&](std::size_t index, const std::atomic<bool>& stop) {
    PointRecord& record = records[index].Record;
    const WorkerLimit limit(workersPerPoint);
    DeferredUserInterface pointUi(stop);
    ComputationControl control(pointUi);
    try {
      ElementLists elements = first.Elements;
      const FrequencyConstants constants = PointConstants(run, index);
      const std::filesystem::path own = scratch.Path() / std::to_string(index) / name;
      std::filesystem::create_directories(own.parent_path());
      AssemblyInput input{elements, constants, plan, run.project, index == 0, own};
      record.Solved = SolvePoint(run, first.Layout, input, control, record.Result, record.Kept);
      record.Blocks = TakePointBlocks(own, plan.FarField);
    } catch (const FileError& error) {
      record.WriteError = error.what();
    } catch (...) {
      records[index].Failure = std::current_exception();
    }
    record.Stopped = control.AbortRequested;
    record.Messages = pointUi.TakeMessages();
  };
  points.Commit = [&](std::size_t index) {
    PointRecord& record = records[index].Record;
    if (!commits) {  // to rank 0, which shows and writes it in its turn
      if (records[index].Failure) record.Failure = FailureText(records[index].Failure);
      exchange->Send(index, EncodePointRecord(record));
      const bool failed = record.Stopped || !record.WriteError.empty() || !record.Failure.empty();
      records[index] = SolvedPoint{};
      return !failed;
    }
    ShowDeferredMessages(record.Messages, ui);
    if (records[index].Failure) std::rethrow_exception(records[index].Failure);
    if (remote[index] && (record.Stopped || !record.WriteError.empty() || !record.Failure.empty())) {
      std::string text = !record.Failure.empty() ? record.Failure : record.WriteError;
      StopRun(run, ProcessFailedMessage(static_cast<int>(index % static_cast<std::size_t>(
                                            exchange->Size())),
                                        plan.Frequencies[index], text)
                       .c_str());
      return false;
    }
    if (!record.WriteError.empty()) {
      StopRunOnWriteError(run, record.WriteError);
      return false;
    }
    if (record.Stopped) {
      StopRun(run);
      return false;
    }
    if (!record.Solved) return true;  // as one at a time: the sweep goes on
    try {
      AppendPointBlocks(record.Blocks, run.project.ProjectFile, plan.FarField);
    } catch (const FileError& error) {
      StopRunOnWriteError(run, error.what());
      return false;
    }
    KeepPoint(run, record.Result, record.Kept);
    records[index] = SolvedPoint{};
    return true;
  };
  points.Waiting = [&](std::size_t index) {
    ui.SetStatusText(StatusPanel::Progress,
                     "Computing at " + FormatGeneral(plan.Frequencies[index], 4) + " MHz");
  };
  RunPointsConcurrently(points, run.control);
  ui.SetStatusText(StatusPanel::Progress, "");
}

ComputationReport RunHere(Project& project, const ComputationSettings& settings,
                          const RunEnvironment& environment, ComputationControl& control,
                          const std::function<void()>& started,
                          const FrequencyPointSolver& solvePoint, const PointKeeper& keepPoint) {
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
  if (plan->GroundPlane && settings.Accuracy == SolverAccuracy::Standard && HasOneCellWideStrip(project))
    ui.ShowWarning(NarrowStripWarning);

  TemporaryCopy copy(environment.WorkDirectory);
  Run run{project, settings,   *plan,     environment,
          control, copy,       report,    solvePoint,
          keepPoint, PermittivityFits(plan->Frequencies.size())};
  for (std::size_t index = 0; index < plan->Frequencies.size(); ++index) {
    try {
      SaveProjectFiles(project, copy.Base());
    } catch (const FileError& error) {
      if (index == 0) StopRun(run, error.what());
      else StopRunOnWriteError(run, error.what());
      break;
    }
    control.AbortRequested = false;
    const bool shared = settings.Exchange != nullptr;
    if (index == 0 && (shared || (plan->Frequencies.size() > 1 && settings.Jobs != 1))) {
      // The first point's questions and checks come before any point is solved;
      // with more than one job every point is solved from its element lists.
      std::optional<PreparedPoint> first = PreparePoint(run, 0);
      if (control.AbortRequested) break;
      // This process's share of the points: every one, or one in `processes`.
      const std::size_t processes =
          shared ? static_cast<std::size_t>(settings.Exchange->Size()) : 1;
      const std::size_t mine = (plan->Frequencies.size() + processes - 1) / processes;
      int jobs = SweepJobs(settings.Jobs, report.Unknowns, mine, FillWorkerCount());
      // Each point in flight holds its own matrix: no more of them than fit.
      if (first && jobs > 1 && environment.AvailableMemory)
        if (const std::optional<std::int64_t> available = environment.AvailableMemory()) {
          const bool groundModelled = plan->GroundPlane && first->Elements.NG() > 0;
          const std::int64_t perPoint =
              FrequencyPointBytes(first->Elements, groundModelled, plan->GroundPlane);
          if (perPoint > 0)
            jobs = static_cast<int>(std::clamp<std::int64_t>(*available / perPoint, 1, jobs));
        }
      if (first && (jobs > 1 || shared)) {
        ComputeConcurrently(run, *first, jobs);
        break;
      }
      if (!first) {  // an invalid ground point: as one at a time, the next point
        if (shared && !settings.Exchange->Commits()) break;  // on rank 0 alone
        continue;
      }
      ComputeFrequency(run, 0, std::move(first));
    } else {
      ComputeFrequency(run, index);
    }
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

// Every process calls its exchange's Finish once per sweep, however the sweep ends.
class SweepEnd {
public:
  explicit SweepEnd(PointExchange& exchange) : exchange_(exchange) {}
  ~SweepEnd() { exchange_.Finish(); }
  SweepEnd(const SweepEnd&) = delete;
  SweepEnd& operator=(const SweepEnd&) = delete;

private:
  PointExchange& exchange_;
};

// A process other than rank 0 computes on a private copy of the project, so that
// only rank 0 writes beside it; what it solves reaches the files through rank 0,
// and its own report keeps nothing (a command writes its outputs on rank 0 alone).
ComputationReport RunOnSolvingProcess(Project& project, const ComputationSettings& settings,
                                      const RunEnvironment& environment,
                                      ComputationControl& control,
                                      const FrequencyPointSolver& solvePoint) {
  ComputationReport report;
  report.Aborted = true;
  PointExchange& exchange = *settings.Exchange;
  if (exchange.AgreeOnSetUp({})) return report;  // rank 0 reports who could not start
  const SweepEnd end(exchange);
  try {
    const PrivateDirectory directory("lumetra-rank-");
    Project copy = project;
    const std::filesystem::path name = project.ProjectFile.empty()
                                           ? std::filesystem::path("SWEEP.PRO")
                                           : std::filesystem::path(project.ProjectFile).filename();
    copy.ProjectFile = (directory.Path() / name).string();
    SaveProjectFiles(copy, copy.ProjectFile);
    RunEnvironment own = environment;
    own.WorkDirectory = directory.Path();
    RunHere(copy, settings, own, control, {}, solvePoint, {});
  } catch (const std::exception& error) {
    exchange.SendFailure(error.what());
  }
  return report;
}

}  // namespace

std::string TooManyUnknownsText(std::int32_t limit) {
  if (limit <= DefaultMaxUnknowns) return TooManyUnknownsMessage;
  return std::string(TooManyUnknownsMessage) + ": more than " + std::to_string(limit) +
         " unknowns in one direction (the Maximum number of unknowns)";
}

std::string ProcessFailedMessage(int rank, double frequencyMHz, std::string_view error) {
  std::string text = "Error: process " + std::to_string(rank) + " failed at " +
                     FormatGeneral(frequencyMHz) + " MHz";
  if (!error.empty()) text += ": " + std::string(error);
  return text;
}

ComputationReport RunComputation(Project& project, const ComputationSettings& settings,
                                 const RunEnvironment& environment, ComputationControl& control,
                                 const std::function<void()>& started,
                                 const FrequencyPointSolver& solvePoint,
                                 const PointKeeper& keepPoint) {
  PointExchange* exchange = settings.Exchange;
  if (!exchange) return RunHere(project, settings, environment, control, started, solvePoint, keepPoint);
  if (!exchange->Commits())
    return RunOnSolvingProcess(project, settings, environment, control, solvePoint);
  if (const std::optional<std::string> failed = exchange->AgreeOnSetUp({})) {
    control.ui.ShowMessage(*failed);
    ComputationReport report;
    report.Aborted = true;
    return report;
  }
  const SweepEnd end(*exchange);
  return RunHere(project, settings, environment, control, started, solvePoint, keepPoint);
}

}  // namespace lumetra
