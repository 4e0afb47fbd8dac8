#include "studies/emission/emission_workspace.h"

#include <cstdio>
#include <string>

#include "fields/near_field_sources.h"
#include "model/input_checks.h"
#include "model/project_files.h"
#include "model/file_io.h"
#include "solver/element_lists.h"
#include "solver/memory_estimate.h"
#include "solver/physical_constants.h"
#include "studies/emission/substrate_polarisation.h"
#include "studies/study_copy.h"

namespace lumetra::emission {

namespace {

// The frequency as the Computation page's field would hold it, exact to the last
// bit so that the solved point is the harmonic itself.
std::string FrequencyText(double frequencyMHz) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", frequencyMHz);
  return text;
}

}  // namespace

EmissionWorkspace::EmissionWorkspace(const Project& project, const ComputationSettings& solver,
                                     ComputationControl& control)
    : directory_("lumetra-emission-"), copy_(StudyProjectCopy(project, directory_, "EMISSION.PRO")),
      ui_(control.ui), control_(ui_), outer_(control), settings_(StudySettings(solver)),
      environment_(StudyEnvironment(directory_)) {
  SaveProjectFiles(copy_, std::filesystem::path(copy_.ProjectFile).replace_extension());
  settings_.SweepFreq = false;
  settings_.FreqListCB = false;
  settings_.ShowTimeEstimate = false;
  // Each solve is one frequency in this process: the run spreads its lines itself.
  settings_.Jobs = 1;
  settings_.Exchange = nullptr;
  // Loads apply where the project has some; asking for none that exist is refused.
  if (project.Impedances.empty()) settings_.ImpFile = false;
  if (project.Env.GroundPlane) {
    groundPlaneM_ = ParseRealText(project.Env.GPHeight).value_or(0.0) * MillimetreToMetre;
    substrateEpsR_ = ParseRealText(project.Env.DielConst).value_or(1.0);
  }
}

EmissionWorkspace::SolveSize EmissionWorkspace::Size() const {
  try {
    const ElementLists lists = LoadElementLists(copy_.ProjectFile, copy_.ProjectFile);
    const bool image = copy_.Env.GroundPlane;
    return {lists.NX() + lists.NY() + lists.NG(),
            FrequencyPointBytes(lists, image && lists.NG() > 0, image)};
  } catch (const FileError&) {
    return {};
  }
}

std::optional<SolvedPoint> EmissionWorkspace::Solve(
    double frequencyMHz, const std::vector<std::complex<double>>& drives) {
  for (std::size_t k = 0; k < drives.size() && k < copy_.VoltageSources.size(); ++k) {
    copy_.VoltageSources[k].ReV = drives[k].real();
    copy_.VoltageSources[k].ImV = drives[k].imag();
  }
  settings_.Frequency = FrequencyText(frequencyMHz);
  control_.AbortRequested = false;
  const ComputationReport report = RunComputation(copy_, settings_, environment_, control_);
  if (!report.Started || report.Aborted || report.Points.empty()) {
    if (control_.AbortRequested) outer_.AbortRequested = true;
    return std::nullopt;
  }
  // The result files hold this one frequency: its block is the first.
  const CurrentFileSet files = CurrentFileSet::Read(copy_.ProjectFile);
  const NearFieldSources sources = ReadNearFieldSources(files, 0.0, groundPlaneM_);
  SolvedPoint solved{FlattenSources(sources), report.Points.front()};
  for (const PointDipole& d : SubstratePolarisationDipoles(sources, groundPlaneM_, substrateEpsR_))
    solved.Radiators.push_back(d);
  return solved;
}

}  // namespace lumetra::emission
