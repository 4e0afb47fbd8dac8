// The checks Compute runs before anything is computed, in their fixed order, with
// their exact messages. Every failure is reported and the checks go on, so the
// user sees all that is wrong at once; any failure means the run does not start.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "model/user_interface.h"
#include "studies/computation_settings.h"

namespace lumetra {

inline constexpr const char* NotConnectedMessage =
    "Error: Segments couldn\u00b4t be connected, check trace geometry!";
inline constexpr const char* InvalidFrequencyListMessage =
    "Error: Invalid frequency in frequency list";

// The settings converted to numbers.
struct ComputationPlan {
  bool Sweep = false;
  std::vector<double> Frequencies;  // MHz, in run order
  double EpsR = 1.0;                // substrate permittivity; 1 without a ground plane
  bool IncidentField = false;
  double IncTheta = 0, IncPhi = 0, IncPol = 0;  // degrees
  bool UseLoads = false;
  bool FarField = false;
  double ThetaStart = 0, ThetaStop = 0, ThetaStep = 0;  // degrees
  double PhiStart = 0, PhiStop = 0, PhiStep = 0;
  bool GroundPlane = false;
  double HeightMm = 0.0;
  bool FiniteConductivity = false;
  double SurfaceResistance = 0.0;   // ohm per square
  bool RigSol = true;
  IntegrationSettings Integration;
  SolverAccuracy Accuracy = SolverAccuracy::Standard;
  EffectivePermittivitySettings EffectivePermittivity;
  std::int32_t MaxUnknowns = DefaultMaxUnknowns;  // never below the default
};

// Runs every check, including the connection step that rewrites .JXC/.JYC (so the
// project must have a ProjectFile). Returns the plan when the run may start; else
// names in refusedField the control of the first refused value ("StartFreq",
// "GPHeight", ...), or leaves it empty when no single field is at fault.
std::optional<ComputationPlan> ValidateComputation(Project& project,
                                                   const ComputationSettings& settings,
                                                   UserInterface& ui,
                                                   std::string* refusedField = nullptr);

}  // namespace lumetra
