// One frequency point: the system of the layout's unknowns is created, excited,
// filled, loaded, solved, and its currents written to the result files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "model/project.h"
#include "solver/complex_arithmetic.h"
#include "solver/computation_control.h"
#include "studies/computation_validation.h"
#include "solver/element_lists.h"
#include "solver/frequency_constants.h"

namespace lumetra {

inline constexpr const char* MatricesNotCreatedMessage =
    "Error: Matrices could not be created, computation aborted!";
inline constexpr const char* LuFailedMessage = "Error in LU-Solve !";

// Which unknowns the system has: Jx and/or Jy currents, with or without the
// vertical currents of ground points (which follow the Jx unknowns in a layout
// without Jy elements and the Jy unknowns otherwise).
enum class SystemLayout {
  JxOnly,
  JxWithGroundPoints,
  JyOnly,
  JyWithGroundPoints,
  Coupled,
  CoupledWithGroundPoints
};

// A voltage source's port after the solve: the current through its element is the
// solved surface current density times the element's width.
struct SourceReading {
  std::int32_t Number = 0;             // 1-based position in the source list
  Complex Voltage;                     // V
  std::optional<Complex> Current;      // A; none when its element is not in the system
};

struct FrequencyPointResult {
  double FrequencyMHz = 0.0;
  std::int32_t Unknowns = 0;
  double FillSeconds = 0.0;
  double SolveSeconds = 0.0;
  double InputPower = 0.0;             // W, delivered by the excitation
  double EpsEff = 0.0;                 // F/m, permittivity of the free-space and image terms
  double MaxKr = 0.0;                  // rad/m, spectral limit of a rigorous slab; else 0
  std::int32_t SpectralPoints = 0;     // real-axis points of a rigorous slab; else 0
  std::vector<SourceReading> Sources;
};

struct AssemblyInput {
  ElementLists& Elements;
  const FrequencyConstants& Constants;
  const ComputationPlan& Plan;
  const Project& Model;                // sources, loads and the project file
  bool FirstPoint = true;              // truncates the result files
  // Where the result files go when not beside the project: a sweep that solves
  // points concurrently gives each one a scratch project file of its own, whose
  // files the point creates anew and the sweep appends to the project's in order.
  std::filesystem::path ScratchProject = {};
};

// Runs every step for one layout. Returns false when the matrices could not be
// created (the message is shown; a sweep goes on with its next point). A failed
// solve shows its message and sets control.AbortRequested; so does an abort.
bool SolveFrequencyPoint(SystemLayout layout, AssemblyInput& input, ComputationControl& control,
                         FrequencyPointResult& result);

}  // namespace lumetra
