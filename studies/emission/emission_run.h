// A radiated-emission run: every source driven by its own signal, one solve per
// frequency of the union of their lines, the field read at a test site and
// compared with a limit line.
//
// The run works on a copy of the project in a temporary folder, so the user's
// project and result files are never written; only the outputs asked for are.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "solver/computation_control.h"
#include "studies/computation_settings.h"
#include "studies/emission/limit_line.h"
#include "studies/emission/source_signal.h"
#include "studies/emission/test_site.h"

namespace lumetra::emission {

struct EmissionRequest {
  // One signal per voltage source of the project, in source order.
  std::vector<SourceSignal> Signals;
  double StopMHz = DefaultEmissionStopMHz;
  SiteSettings Site;
  // The limit the lines are compared with; none gives levels without margins.
  std::optional<LimitLine> Limit;
  std::string LimitNote;  // how the limit was put together (ResolveLimit's note)
  // The solver settings of the Computation page (frequencies and far field are the
  // run's own; the rest, loads and substrate model, apply as typed).
  ComputationSettings Solver;
};

// The coefficient a source drove one frequency with.
struct SourceDriveRecord {
  int Number = 0;                    // 1-based source number
  std::complex<double> AmplitudeV;   // peak phasor, V
};

struct EmissionLine {
  double FrequencyMHz = 0.0;
  double FieldVm = 0.0;              // peak phasor magnitude read at the maximum
  double LevelDbuvM = 0.0;           // FieldDbuvM(FieldVm)
  std::optional<double> LimitDbuvM;  // none outside the limit's range
  std::optional<double> MarginDb;    // limit - level: negative fails
  SiteMaximum Where;
  std::vector<SourceDriveRecord> Sources;  // the sources with a non-zero drive
  int LargestSource = 0;             // the source whose field alone reads highest there
};

struct EmissionResult {
  std::string SiteName;               // "free" or "sac"
  double DistanceM = 0.0;
  std::string LimitName;              // empty without a limit
  std::string LimitNote;              // the distance conversion applied, if any
  std::vector<EmissionLine> Lines;    // ascending frequency
  std::optional<double> WorstMarginDb;
  std::optional<std::size_t> WorstLine;  // index into Lines
  // The run stopped before its last frequency: the user aborted, or the solver
  // refused or failed (its message was shown). Lines holds what was finished.
  bool Aborted = false;
  std::vector<std::string> Notes;     // how the field was obtained, warnings

  bool Passed() const { return !WorstMarginDb || *WorstMarginDb >= 0.0; }
};

// The distance-corrected limit and the margin of one line.
void ApplyLimit(const LimitLine& limit, EmissionLine& line);

// Checks the request before anything is computed: one signal per source, every
// signal valid, the stop frequency, the site, and a limit that covers the stop
// frequency. Throws std::invalid_argument with the message a user sees.
void ValidateEmissionRequest(const Project& project, const EmissionRequest& request);

// Runs the emission analysis. Progress goes to control.ui's status texts;
// control.PumpAndCheckAbort() is polled between and inside the solves. Messages of
// the solver (refusals, warnings) go to control.ui once each.
EmissionResult RunEmission(const Project& project, const EmissionRequest& request,
                           ComputationControl& control);

// The worst n lines by margin (without margins: by level), worst first.
std::vector<std::size_t> WorstLines(const EmissionResult& result, std::size_t n);

}  // namespace lumetra::emission
