#include "studies/emission/emission_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <stdexcept>

#include "model/input_checks.h"
#include "solver/physical_constants.h"
#include "model/batch_mode.h"
#include "solver/memory_estimate.h"
#include "solver/parallel_pieces.h"
#include "studies/computation_driver.h"
#include "studies/concurrent_points.h"
#include "studies/emission/concurrent_lines.h"
#include "studies/emission/emission_line.h"
#include "studies/emission/emission_workspace.h"

namespace lumetra::emission {

namespace {

std::string ProgressText(double frequencyMHz, std::size_t index, std::size_t count) {
  char text[96];
  std::snprintf(text, sizeof text, "Emission: %.6g MHz (%zu of %zu)", frequencyMHz, index + 1,
                count);
  return text;
}

// How the field at the site is obtained, for the report and the help.
std::string FieldModelNote(const Project& project) {
  std::string note =
      "Field at the test site: the solved currents of every current element and ground point "
      "radiate as short current elements in air (exact near and far field, 120 pi ohm)";
  if (project.Env.GroundPlane) note += ", each with its image in the board's ground plane";
  const std::optional<double> epsR = ParseRealText(project.Env.DielConst);
  if (project.Env.GroundPlane && epsR && *epsR > 1.0)
    note += "; the currents come from the solution with the substrate, and the substrate's bound "
            "charge under them radiates as vertical polarisation currents (within 0.2 dB of the "
            "rigorous slab pattern for a thin substrate)";
  return note;
}

// Every line of the sweep, committed through keep in frequency order: one at a time
// on the calling thread, or several at once (ComputationSettings::Jobs) and over
// the processes of an exchange. True when a line stopped the run or it was aborted.
bool SolveLines(const LineSweep& sweep, ComputationControl& control,
                const std::function<void(EmissionLine&&)>& keep) {
  PointExchange* exchange = sweep.Exchange;
  std::optional<EmissionWorkspace> workspace;
  std::string setUpError;
  try {
    workspace.emplace(sweep.Layout, sweep.Solver, control);
  } catch (const std::exception& error) {
    if (!exchange) throw;
    setUpError = error.what();
  }
  if (exchange) {
    // Every process is ready, or none starts: rank 0 says which could not.
    if (const std::optional<std::string> failed = exchange->AgreeOnSetUp(setUpError)) {
      if (exchange->Commits()) control.ui.ShowMessage(*failed);
      return true;
    }
  }
  // Every process ends the exchange's sweep once, however the lines end.
  struct SweepEnd {
    PointExchange* exchange;
    ~SweepEnd() {
      if (exchange) exchange->Finish();
    }
  } const end{exchange};
  const std::vector<double>& frequencies = sweep.Frequencies;
  const std::size_t count = frequencies.size();
  const auto waiting = [&](std::size_t index) {
    control.ui.SetStatusText(StatusPanel::State, ProgressText(frequencies[index], index, count));
    control.ui.SetProgress(static_cast<int>(index), static_cast<int>(count));
  };
  const std::size_t processes = exchange ? static_cast<std::size_t>(exchange->Size()) : 1;
  const std::size_t share = (count + processes - 1) / processes;
  const EmissionWorkspace::SolveSize size = workspace->Size();
  int jobs = SweepJobs(sweep.Solver.Jobs, size.Unknowns, share, FillWorkerCount());
  // Each line in flight holds its own matrix: no more of them than fit.
  if (jobs > 1 && size.Bytes > 0)
    if (const std::optional<std::int64_t> available = ReadAvailableMemory())
      jobs = static_cast<int>(std::clamp<std::int64_t>(*available / size.Bytes, 1, jobs));
  const bool concurrent = exchange || jobs > 1;

  // One at a time; before lines run at once, the first line solved here, where the
  // run's questions are put to the person watching (a batch run asks none).
  std::size_t index = 0;
  bool solvedOne = false;
  for (; index < count && !exchange; ++index) {
    if (concurrent && (BatchMode || solvedOne)) break;
    waiting(index);
    if (control.PumpAndCheckAbort()) return true;
    EmissionLine line;
    const LineOutcome outcome =
        SolveEmissionLine(*workspace, sweep.Signals, sweep.Site, frequencies[index], line);
    if (outcome == LineOutcome::Stopped) return true;
    if (outcome == LineOutcome::Silent) continue;
    keep(std::move(line));
    solvedOne = true;
  }
  if (index == count) return false;
  const LineCommits commits{workspace->Ui(), waiting, keep};
  if (SolveLinesConcurrently(sweep, index, jobs, control, commits)) return false;
  if (control.AbortRequested) workspace->Ui().ShowMessage(AbortedMessage);
  return true;
}

}  // namespace

void ApplyLimit(const LimitLine& limit, EmissionLine& line) {
  line.LimitDbuvM = LimitAt(limit, line.FrequencyMHz);
  line.MarginDb.reset();
  if (line.LimitDbuvM) line.MarginDb = *line.LimitDbuvM - line.LevelDbuvM;
}

void ValidateEmissionRequest(const Project& project, const EmissionRequest& request) {
  if (project.VoltageSources.empty())
    throw std::invalid_argument("Error: The project has no voltage source to drive");
  if (request.Signals.size() != project.VoltageSources.size())
    throw std::invalid_argument("Error: " + std::to_string(request.Signals.size()) +
                                " source signals given for " +
                                std::to_string(project.VoltageSources.size()) + " voltage sources");
  ValidateStopFrequency(request.StopMHz);
  ValidateSiteSettings(request.Site);
  const std::vector<double> frequencies = EmissionFrequencies(request.Signals, request.StopMHz);
  if (frequencies.empty())
    throw std::invalid_argument(
        "Error: No source has a line up to the stop frequency: give a source a clock or a "
        "spectrum file");
  if (request.Limit) CheckLimitCovers(*request.Limit, request.StopMHz);
}

EmissionResult RunEmission(const Project& project, const EmissionRequest& request,
                           ComputationControl& control) {
  ValidateEmissionRequest(project, request);
  const std::vector<double> frequencies = EmissionFrequencies(request.Signals, request.StopMHz);

  EmissionResult result;
  result.SiteName = SiteKindName(request.Site.Kind);
  result.DistanceM = request.Site.DistanceM;
  std::optional<LimitLine> limit;
  if (request.Limit) {
    CorrectedLimit corrected = DistanceCorrectedLimit(*request.Limit, request.Site.DistanceM);
    limit = std::move(corrected.Limit);
    result.LimitName = request.Limit->Name;
    result.LimitNote = request.LimitNote;
    if (!corrected.Note.empty())
      result.LimitNote += (result.LimitNote.empty() ? "" : ". ") + corrected.Note;
  }
  result.Notes.push_back(FieldModelNote(project));

  SiteSettings site = request.Site;
  site.BoardCentreX = 0.5 * project.PcbLx * MillimetreToMetre;
  site.BoardCentreY = 0.5 * project.PcbLy * MillimetreToMetre;
  site.UpperHemisphereOnly = project.Env.GroundPlane;

  const LineSweep sweep{project, request.Solver, request.Signals, site, frequencies,
                        request.Solver.Exchange};
  const auto keep = [&](EmissionLine&& line) {
    if (limit) ApplyLimit(*limit, line);
    result.Lines.push_back(std::move(line));
  };
  const bool stopped = SolveLines(sweep, control, keep);
  // A process other than rank 0 keeps nothing: its lines went to rank 0.
  const PointExchange* exchange = request.Solver.Exchange;
  result.Aborted = stopped || (exchange && !exchange->Commits());
  control.ui.SetStatusText(StatusPanel::State, "");
  control.ui.SetProgress(0, 0);

  for (std::size_t i = 0; i < result.Lines.size(); ++i) {
    const std::optional<double>& margin = result.Lines[i].MarginDb;
    if (margin && (!result.WorstMarginDb || *margin < *result.WorstMarginDb)) {
      result.WorstMarginDb = margin;
      result.WorstLine = i;
    }
  }
  return result;
}

std::vector<std::size_t> WorstLines(const EmissionResult& result, std::size_t n) {
  std::vector<std::size_t> order(result.Lines.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Lines with a margin first, smallest margin first; then the rest by level.
  const auto worse = [&](std::size_t a, std::size_t b) {
    const EmissionLine& la = result.Lines[a];
    const EmissionLine& lb = result.Lines[b];
    if (la.MarginDb.has_value() != lb.MarginDb.has_value()) return la.MarginDb.has_value();
    if (la.MarginDb) return *la.MarginDb < *lb.MarginDb;
    return la.LevelDbuvM > lb.LevelDbuvM;
  };
  std::stable_sort(order.begin(), order.end(), worse);
  if (order.size() > n) order.resize(n);
  return order;
}

}  // namespace lumetra::emission
