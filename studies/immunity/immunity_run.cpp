#include "studies/immunity/immunity_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "model/private_directory.h"
#include "model/project_files.h"
#include "studies/byte_record.h"
#include "studies/computation_driver.h"
#include "studies/immunity/reception.h"
#include "studies/study_copy.h"

namespace lumetra::immunity {

namespace {

constexpr double SpeedOfLight = 299792458.0;

// The largest distance of a current element from the middle of the layout, m.
double LayoutRadius(const ElementLists& lists) {
  double xMin = 1e300, xMax = -1e300, yMin = 1e300, yMax = -1e300;
  for (const auto* cells : {&lists.Jx, &lists.Jy})
    for (const CurrentCell& c : *cells) {
      xMin = std::min(xMin, c.X);
      xMax = std::max(xMax, c.X);
      yMin = std::min(yMin, c.Y);
      yMax = std::max(yMax, c.Y);
    }
  if (xMin > xMax) return 0.0;
  return 0.5 * std::hypot(xMax - xMin, yMax - yMin);
}

}  // namespace

std::string UnknownLoadMessage(int number, std::size_t count) {
  return "Error: Load " + std::to_string(number) + " does not exist; the layout has " +
         std::to_string(count) + " load elements";
}

double DbMicrovolt(double volts) { return 20.0 * std::log10(std::max(volts, 1e-300) / 1e-6); }

std::optional<std::vector<ImmunityPort>> ImmunityPorts(const Project& project,
                                                       const std::vector<int>& loads,
                                                       UserInterface& ui) {
  if (project.Impedances.empty()) {
    ui.ShowMessage(NoLoadMessage);
    return std::nullopt;
  }
  const int count = static_cast<int>(project.Impedances.size());
  std::vector<ImmunityPort> ports;
  for (int number : loads)
    if (number < 1 || number > count) {
      ui.ShowMessage(UnknownLoadMessage(number, project.Impedances.size()));
      return std::nullopt;
    }
  std::vector<int> chosen = loads;
  if (chosen.empty())
    for (int n = 1; n <= count; ++n) chosen.push_back(n);
  for (int number : chosen) {
    const ImpedanceElement& load = project.Impedances[static_cast<std::size_t>(number - 1)];
    ports.push_back({PortKind::Load, number, load.IsJx, load.ElementNo});
  }
  if (!loads.empty()) return ports;
  int number = 0;
  for (const VoltageSource& source : project.VoltageSources) {
    ++number;
    const bool loaded = std::any_of(
        project.Impedances.begin(), project.Impedances.end(), [&](const ImpedanceElement& l) {
          return l.IsJx == source.IsJx && l.ElementNo == source.ElementNo;
        });
    if (!loaded) ports.push_back({PortKind::Source, number, source.IsJx, source.ElementNo});
  }
  return ports;
}

ImmunityResult RunImmunity(const Project& project, const ComputationSettings& settings,
                           const ImmunityOptions& options, ComputationControl& control) {
  ImmunityResult result;
  UserInterface& ui = control.ui;
  if (!(options.FieldVPerM > 0.0) || !std::isfinite(options.FieldVPerM)) {
    ui.ShowMessage(FieldLevelMessage);
    return result;
  }
  const std::optional<std::vector<ImmunityPort>> ports =
      ImmunityPorts(project, options.Loads, ui);
  if (!ports) return result;
  result.Ports = *ports;

  // The copy drives each load through a source of its own on the load's element,
  // added after the project's sources; every drive keeps the others at 0 V.
  const PrivateDirectory directory("lumetra-immunity-");
  Project copy = StudyProjectCopy(project, directory, "IMMUNITY.PRO");
  std::vector<PortElement> elements;
  for (const ImmunityPort& port : *ports) {
    PortElement e{port.IsJx, port.ElementNo, port.Kind == PortKind::Source, 0};
    if (port.Kind == PortKind::Source) {
      e.SourceIndex = static_cast<std::size_t>(port.Number - 1);
    } else {
      const ImpedanceElement& load = project.Impedances[static_cast<std::size_t>(port.Number - 1)];
      e.SourceIndex = copy.VoltageSources.size();
      copy.VoltageSources.push_back(
          {load.X, load.Y, load.Dx, load.Dy, 0.0, 0.0, load.IsJx, load.ElementNo});
    }
    elements.push_back(e);
  }
  SaveProjectFiles(copy, copy.ProjectFile);

  ComputationSettings own = StudySettings(settings);
  own.ImpFile = true;
  const RunEnvironment environment = StudyEnvironment(directory);

  const FrequencyPointSolver solvePoint = [&](SystemLayout layout, AssemblyInput& input,
                                              ComputationControl& pointControl,
                                              FrequencyPointResult& point, std::string& kept) {
    MultiExcitationResult solved;
    std::vector<PortReception> receptions;
    if (!SolvePortReceptions(layout, input, elements, pointControl, solved, receptions))
      return false;
    point = solved.Point;
    if (pointControl.AbortRequested || receptions.size() != elements.size()) return true;
    const auto scanStart = std::chrono::steady_clock::now();
    DirectionScan scan;
    const bool homogeneous = !input.Constants.GroundPlane;
    scan.ThetaMaxDeg = homogeneous ? 180.0 : SlabPresent(input.Constants) ? 89.99 : 90.0;
    scan.StepDeg = options.GridStepDeg;
    scan.LayoutRadius = LayoutRadius(input.Elements);
    scan.Wavelength = SpeedOfLight / (input.Constants.FrequencyMHz * 1e6);
    const std::vector<WorstDirection> worst = FindWorstDirections(
        receptions,
        [&](const PlaneWave& wave) { return IncidentRightHandSide(layout, input, wave); }, scan);
    // Per port (in the order of result.Ports): the worst voltage, the open-circuit
    // voltage, its direction and polarisation; then the scan's seconds.
    ByteWriter out;
    for (std::size_t p = 0; p < worst.size(); ++p) {
      out.Put(worst[p].Voltage * options.FieldVPerM);
      out.Put(CAbs(OpenCircuitVoltage(receptions[p], worst[p].Received)) * options.FieldVPerM);
      out.Put(worst[p].ThetaDeg);
      out.Put(worst[p].PhiDeg);
      out.Put(worst[p].Pol);
    }
    out.Put(std::chrono::duration<double>(std::chrono::steady_clock::now() - scanStart).count());
    kept = out.Take();
    return true;
  };
  const PointKeeper keepPoint = [&](const FrequencyPointResult& point, const std::string& kept) {
    if (kept.empty()) return;  // solved, but without readings for the study
    ByteReader in(kept);
    ImmunityPoint out{point.FrequencyMHz, {}};
    for (const ImmunityPort& port : *ports) {
      PortWorst w;
      w.Port = port;
      w.VoltageV = in.Get<double>();
      w.OpenCircuitV = in.Get<double>();
      w.ThetaDeg = in.Get<double>();
      w.PhiDeg = in.Get<double>();
      w.Pol = in.Get<Polarisation>();
      out.Ports.push_back(w);
    }
    result.ScanSeconds += in.Get<double>();
    in.ExpectEnd();
    result.Points.push_back(std::move(out));
    result.FillSeconds += point.FillSeconds;
    result.SolveSeconds += point.SolveSeconds;
  };
  const ComputationReport report =
      RunComputation(copy, own, environment, control, {}, solvePoint, keepPoint);
  result.Started = report.Started;
  result.Aborted = report.Aborted;
  result.Unknowns = report.Unknowns;
  if (report.Aborted) result.Points.resize(std::min(result.Points.size(), report.Points.size()));
  return result;
}

}  // namespace lumetra::immunity
