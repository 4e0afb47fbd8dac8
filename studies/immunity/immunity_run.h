// The immunity of a layout to a radiated field: at every frequency of the
// Computation page's plan, the largest voltage a plane wave of the given field
// strength puts across each load (and, with no loads chosen, the open-circuit
// voltage at each voltage source taken as a shorted port), with the direction and
// polarisation it comes from.
//
// Per frequency the system is filled and factorised once and solved once per port
// (reception.h explains why that gives every direction); the direction search of
// worst_direction.h then reads dot products only. The run computes a copy of the
// project in a private folder, with a 0 V source added on every load's element to
// drive it, so the user's project and result files are never touched.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "solver/computation_control.h"
#include "studies/computation_settings.h"
#include "studies/immunity/worst_direction.h"

namespace lumetra::immunity {

inline constexpr const char* NoLoadMessage =
    "Error: The layout has no load element, so there is no receiver to assess";
inline constexpr const char* FieldLevelMessage =
    "Error: The field level must be a positive number of V/m";
// "Error: Load <n> does not exist; the layout has <count> load elements"
std::string UnknownLoadMessage(int number, std::size_t count);

enum class PortKind { Load, Source };

struct ImmunityPort {
  PortKind Kind = PortKind::Load;
  int Number = 0;          // 1-based record number among the loads (or sources)
  bool IsJx = true;
  int ElementNo = 0;
};

struct ImmunityOptions {
  double FieldVPerM = 10.0;
  std::vector<int> Loads;  // load numbers to assess; empty: every load and every source
  double GridStepDeg = 10.0;
};

struct PortWorst {
  ImmunityPort Port;
  double VoltageV = 0.0;      // worst amplitude at the field level, V
  double OpenCircuitV = 0.0;  // open-circuit voltage in that direction, V
  double ThetaDeg = 0.0, PhiDeg = 0.0;
  Polarisation Pol = Polarisation::Theta;
};

struct ImmunityPoint {
  double FrequencyMHz = 0.0;
  std::vector<PortWorst> Ports;  // in the order of ImmunityResult::Ports
};

struct ImmunityResult {
  bool Started = false;
  bool Aborted = false;
  int Unknowns = 0;
  std::vector<ImmunityPort> Ports;
  std::vector<ImmunityPoint> Points;
  double FillSeconds = 0.0, SolveSeconds = 0.0, ScanSeconds = 0.0;  // summed over the points
};

// The ports to assess, or none with the message shown: the project has no load,
// or a load number asked for does not exist. A source whose element carries a
// load is left to that load's port.
std::optional<std::vector<ImmunityPort>> ImmunityPorts(const Project& project,
                                                       const std::vector<int>& loads,
                                                       UserInterface& ui);

// dB above 1 microvolt.
double DbMicrovolt(double volts);

// Runs the sweep of settings (frequencies and environment as typed, loads always
// in place; the plane wave, far field and completion messages are not used).
ImmunityResult RunImmunity(const Project& project, const ComputationSettings& settings,
                           const ImmunityOptions& options, ComputationControl& control);

}  // namespace lumetra::immunity
