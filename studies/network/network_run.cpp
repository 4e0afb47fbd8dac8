#include "studies/network/network_run.h"

#include "model/private_directory.h"
#include "model/project_files.h"
#include "studies/byte_record.h"
#include "studies/computation_driver.h"
#include "studies/multi_excitation.h"
#include "studies/study_copy.h"

namespace lumetra::network {

std::string SharedElementMessage(int first, int second) {
  return "Error: Voltage sources " + std::to_string(first) + " and " + std::to_string(second) +
         " drive the same current element; every port needs an element of its own";
}

std::string PortOutsideSystemMessage(int source) {
  return "Error: Voltage source " + std::to_string(source) +
         " is not on a current element of the computed layout, so it cannot be a port";
}

std::optional<std::vector<NetworkPort>> ProjectPorts(const Project& project, UserInterface& ui) {
  if (project.VoltageSources.empty()) {
    ui.ShowMessage(NoPortsMessage);
    return std::nullopt;
  }
  std::vector<NetworkPort> ports;
  for (const VoltageSource& source : project.VoltageSources) {
    const int number = static_cast<int>(ports.size()) + 1;
    for (const NetworkPort& other : ports)
      if (other.IsJx == source.IsJx && other.ElementNo == source.ElementNo) {
        ui.ShowMessage(SharedElementMessage(other.Number, number));
        return std::nullopt;
      }
    ports.push_back({number, source.IsJx, source.ElementNo, source.X, source.Y});
  }
  return ports;
}

NetworkResult RunNetwork(const Project& project, const ComputationSettings& settings,
                         ComputationControl& control) {
  NetworkResult result;
  UserInterface& ui = control.ui;
  const std::optional<std::vector<NetworkPort>> ports = ProjectPorts(project, ui);
  if (!ports) return result;
  result.Ports = *ports;
  const std::size_t n = ports->size();

  // Port j driven alone: 1 V on its source, every other source shorted.
  std::vector<SourceDrive> drives(n, SourceDrive(n, Complex{0.0, 0.0}));
  for (std::size_t j = 0; j < n; ++j) drives[j][j] = {1.0, 0.0};

  const PrivateDirectory directory("lumetra-network-");
  Project copy = StudyProjectCopy(project, directory, "NETWORK.PRO");
  SaveProjectFiles(copy, copy.ProjectFile);
  const ComputationSettings own = StudySettings(settings);
  const RunEnvironment environment = StudyEnvironment(directory);

  // Y(i, j) is the current into port i with port j at 1 V: the currents of
  // excitation j, read where Compute reads a source's current.
  const FrequencyPointSolver solvePoint = [&](SystemLayout layout, AssemblyInput& input,
                                              ComputationControl& pointControl,
                                              FrequencyPointResult& point, std::string& kept) {
    MultiExcitationResult solved;
    if (!SolveForExcitations(layout, input, drives, pointControl, solved)) return false;
    point = solved.Point;
    if (pointControl.AbortRequested || solved.Excitations.size() != n) return true;
    NetworkPoint network{input.Constants.FrequencyMHz, PortMatrix(n)};
    for (std::size_t j = 0; j < n; ++j)
      for (std::size_t i = 0; i < n; ++i) {
        const std::optional<Complex>& current = solved.Excitations[j].Sources.at(i).Current;
        if (!current) {
          pointControl.ui.ShowMessage(PortOutsideSystemMessage(static_cast<int>(i) + 1));
          pointControl.AbortRequested = true;
          return true;
        }
        network.Y(i, j) = {current->Re, current->Im};
      }
    ByteWriter out;
    for (std::size_t j = 0; j < n; ++j)
      for (std::size_t i = 0; i < n; ++i) {
        out.Put(network.Y(i, j).real());
        out.Put(network.Y(i, j).imag());
      }
    kept = out.Take();
    return true;
  };
  const PointKeeper keepPoint = [&](const FrequencyPointResult& point, const std::string& kept) {
    if (kept.empty()) return;  // solved, but without readings for the study
    ByteReader in(kept);
    NetworkPoint network{point.FrequencyMHz, PortMatrix(n)};
    for (std::size_t j = 0; j < n; ++j)
      for (std::size_t i = 0; i < n; ++i) {
        const double re = in.Get<double>();
        network.Y(i, j) = {re, in.Get<double>()};
      }
    in.ExpectEnd();
    result.Points.push_back(std::move(network));
    result.FillSeconds += point.FillSeconds;
    result.SolveSeconds += point.SolveSeconds;
  };
  const ComputationReport report =
      RunComputation(copy, own, environment, control, {}, solvePoint, keepPoint);
  result.Started = report.Started;
  result.Aborted = report.Aborted;
  result.Unknowns = report.Unknowns;
  if (report.Aborted) result.Points.resize(report.Points.size());
  return result;
}

}  // namespace lumetra::network
