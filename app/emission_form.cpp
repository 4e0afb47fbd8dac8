#include "app/emission_form.h"

#include <cmath>
#include <stdexcept>

#include "model/input_checks.h"
#include "studies/emission/drive_lines_file.h"
#include "studies/emission/named_limits.h"

namespace lumetra::gui {

namespace {

double Number(const std::string& text, const std::string& what) {
  if (const auto value = ParseRealText(text)) return *value;
  throw std::invalid_argument("Error: \"" + text + "\" is not a number (" + what + ")");
}

std::string OfSource(std::size_t index, const char* what) {
  return "source " + std::to_string(index + 1) + ", " + what;
}

}  // namespace

emission::EmissionRequest BuildEmissionRequest(const Project& project, const EmissionForm& form,
                                               const ComputationSettings& solver) {
  using namespace emission;
  EmissionRequest request;
  request.Solver = solver;
  for (std::size_t i = 0; i < form.Signals.size(); ++i) {
    const SignalForm& typed = form.Signals[i];
    switch (typed.Kind) {
      case SignalKind::Constant:
        if (i >= project.VoltageSources.size())
          throw std::invalid_argument("Error: The project has no source " + std::to_string(i + 1));
        request.Signals.emplace_back(ConstantDriveOf(project.VoltageSources[i]));
        break;
      case SignalKind::Trapezoid: {
        TrapezoidWaveform wave;
        wave.AmplitudeV = Number(typed.Amplitude, OfSource(i, "amplitude in V"));
        wave.FundamentalMHz = Number(typed.Fundamental, OfSource(i, "fundamental frequency in MHz"));
        wave.RiseNs = Number(typed.Rise, OfSource(i, "rise time in ns"));
        if (typed.Fall.find_first_not_of(" \t") != std::string::npos)
          wave.FallNs = Number(typed.Fall, OfSource(i, "fall time in ns"));
        wave.Duty = Number(typed.Duty, OfSource(i, "duty cycle"));
        request.Signals.emplace_back(wave);
        break;
      }
      case SignalKind::SpectrumFile:
        if (typed.File.find_first_not_of(" \t") == std::string::npos)
          throw std::invalid_argument("Error: No spectrum file is chosen for source " + std::to_string(i + 1));
        request.Signals.emplace_back(DriveLineList{ReadDriveLinesFile(typed.File)});
        break;
    }
  }

  request.StopMHz = Number(form.Stop, "stop frequency in MHz");
  request.Site.Kind = form.SemiAnechoic ? SiteKind::SemiAnechoic : SiteKind::Free;
  request.Site.DistanceM = Number(form.Distance, "distance in m");
  // The board's centre is the turntable's axis; over a ground plane nothing
  // radiates below the board.
  request.Site.BoardCentreX = 0.5e-3 * project.PcbLx;
  request.Site.BoardCentreY = 0.5e-3 * project.PcbLy;
  request.Site.UpperHemisphereOnly = project.Env.GroundPlane;

  if (form.Limit != "none") {
    std::string limit = form.Limit;
    if (form.Limit == "file") {
      if (form.LimitFile.find_first_not_of(" \t") == std::string::npos)
        throw std::invalid_argument("Error: No limit file is chosen");
      // Read once here so that a missing or damaged file is named as such.
      ReadLimitFile(form.LimitFile);
      limit = form.LimitFile;
    }
    ResolvedLimit resolved = ResolveLimit(limit, request.Site.DistanceM, request.StopMHz);
    request.Limit = std::move(resolved.Limit);
    request.LimitNote = std::move(resolved.Note);
  }
  return request;
}

}  // namespace lumetra::gui
