#include "studies/emission/emission_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <stdexcept>

#include "model/input_checks.h"
#include "solver/physical_constants.h"
#include "studies/emission/emission_workspace.h"

namespace lumetra::emission {

namespace {

// k0 = omega sqrt(mu0 eps0), with the same constants as the solver's.
double FreeSpaceWavenumber(double frequencyMHz) {
  return TwoPi * frequencyMHz * 1e6 * std::sqrt(Mu0 * Eps0);
}

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

  EmissionWorkspace workspace(project, request.Solver, control);
  const std::size_t sourceCount = request.Signals.size();
  bool stopped = false;
  for (std::size_t index = 0; index < frequencies.size(); ++index) {
    const double f = frequencies[index];
    control.ui.SetStatusText(StatusPanel::State, ProgressText(f, index, frequencies.size()));
    control.ui.SetProgress(static_cast<int>(index), static_cast<int>(frequencies.size()));
    if (control.PumpAndCheckAbort()) {
      stopped = true;
      break;
    }

    EmissionLine line;
    line.FrequencyMHz = f;
    std::vector<std::complex<double>> drives(sourceCount);
    for (std::size_t k = 0; k < sourceCount; ++k) {
      drives[k] = SourceDrive(request.Signals[k], f);
      if (drives[k] != 0.0) line.Sources.push_back({static_cast<int>(k + 1), drives[k]});
    }
    if (line.Sources.empty()) continue;  // a spectrum line of zero amplitude

    const std::optional<SolvedPoint> radiators = workspace.Solve(f, drives);
    if (!radiators) {
      stopped = true;
      break;
    }
    const double k0 = FreeSpaceWavenumber(f);
    line.Where = ScanSite(radiators->Radiators, k0, site);
    line.FieldVm = line.Where.FieldVm;
    line.LevelDbuvM = FieldDbuvM(line.FieldVm);
    line.LargestSource = line.Sources.front().Number;

    // With several sources at one frequency, the one to work on is the one whose
    // field alone reads highest where the sum peaks: one more solve per source.
    if (line.Sources.size() > 1) {
      double largest = -1.0;
      for (const SourceDriveRecord& source : line.Sources) {
        std::vector<std::complex<double>> alone(sourceCount);
        alone[static_cast<std::size_t>(source.Number - 1)] = source.AmplitudeV;
        const std::optional<SolvedPoint> own = workspace.Solve(f, alone);
        if (!own) {
          stopped = true;
          break;
        }
        const double reading = ReadingAt(own->Radiators, k0, site, line.Where);
        if (reading > largest) {
          largest = reading;
          line.LargestSource = source.Number;
        }
      }
      if (stopped) break;
    }
    if (limit) ApplyLimit(*limit, line);
    result.Lines.push_back(std::move(line));
  }
  result.Aborted = stopped;
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
