// The network of a layout: its voltage sources become ports, and the admittance
// matrix is found at every frequency of the Computation page's plan by driving
// each port alone with 1 V while the others are shorted (0 V) and the loads stay
// in place. One factorisation per frequency serves all N ports.
//
// The run computes a copy of the project in a private folder, so the user's
// project and result files are never touched.
#pragma once

#include <string>
#include <vector>

#include "model/project.h"
#include "solver/computation_control.h"
#include "studies/computation_settings.h"
#include "studies/network/port_matrix.h"

namespace lumetra::network {

inline constexpr const char* NoPortsMessage =
    "Error: The layout has no voltage source, so the network has no port";

// "Error: Voltage sources <a> and <b> drive the same current element; every port
// needs an element of its own"
std::string SharedElementMessage(int first, int second);
// "Error: Voltage source <k> is not on a current element of the computed layout,
// so it cannot be a port"
std::string PortOutsideSystemMessage(int source);

struct NetworkPort {
  int Number = 0;           // 1-based source number = port number
  bool IsJx = true;
  int ElementNo = 0;
  double X = 0.0, Y = 0.0;  // element centre, mm
};

struct NetworkPoint {
  double FrequencyMHz = 0.0;
  PortMatrix Y;             // siemens
};

struct NetworkResult {
  bool Started = false;     // ports and settings were accepted and the run began
  bool Aborted = false;     // stopped by the user or by a failure (message shown)
  int Unknowns = 0;
  std::vector<NetworkPort> Ports;
  std::vector<NetworkPoint> Points;
  double FillSeconds = 0.0, SolveSeconds = 0.0;  // summed over the points
};

// The ports of the project, or none with the message shown when it has no source
// or two sources share an element.
std::optional<std::vector<NetworkPort>> ProjectPorts(const Project& project, UserInterface& ui);

// Runs the sweep of settings (frequencies, loads, environment as typed; the plane
// wave, far field and completion messages are not used). Messages and progress go
// to control.ui as in Compute.
NetworkResult RunNetwork(const Project& project, const ComputationSettings& settings,
                         ComputationControl& control);

}  // namespace lumetra::network
