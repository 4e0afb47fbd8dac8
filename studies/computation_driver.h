// What Compute does: validate the page, then run one frequency, a sweep or a list
// of frequencies, each point through ComputeFrequency, and report the outcome.
//
// Only one run computes a project at a time: a run that finds the project's lock
// taken (ProjectLock) shows ProjectBusyMessage and touches no file.
//
// The project is written to temporary element files ("TempFile.*" in the work
// directory) for every point; they are deleted whatever happens. The in-memory
// project is left as it was: the temporary files are a copy of it.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project.h"
#include "solver/computation_control.h"
#include "solver/memory_estimate.h"
#include "studies/computation_settings.h"
#include "studies/computation_validation.h"
#include "studies/system_assembly.h"

namespace lumetra {

inline constexpr const char* AbortedMessage = "The computation has been aborted!";
inline constexpr const char* EmptyFrequencyListMessage =
    "Error: The frequency list is empty, there is nothing to compute";
inline constexpr const char* TooManyUnknownsMessage = "To many unknowns, cannot perform computation";

// The refusal of a layout with more unknowns in one direction than the limit: the
// established text at the default limit, and with a lifted one the limit named.
std::string TooManyUnknownsText(std::int32_t limit);

struct RunEnvironment {
  std::filesystem::path WorkDirectory = ".";     // where the temporary copies go
  std::filesystem::path StartupDirectory = ".";  // where Lumetra.TES lies
  // The memory the machine can give without swapping, bytes, asked before every
  // point is filled; nullopt (or no function) when it cannot be known, and then
  // no point is refused for its size.
  std::function<std::optional<std::int64_t>()> AvailableMemory = [] { return ReadAvailableMemory(); };
};

struct ComputationReport {
  bool Started = false;     // validation passed
  // When validation refused the run: the control of the first refused value, for
  // the page to give it the focus (empty when no single field is at fault).
  std::string RefusedField;
  bool ProjectBusy = false; // another run held the project's lock; nothing was touched
  bool Aborted = false;     // stopped by the user, a refusal or a failure
  std::int32_t Unknowns = 0;
  std::vector<FrequencyPointResult> Points;  // the points that were solved
  // Power delivered in a single-frequency run with the far field (for the power
  // gain of the pattern); -1 otherwise.
  double InputPower = -1.0;
  std::chrono::duration<double> Total{}, Fill{}, Invert{};
};

// What a frequency point does once its element lists are loaded and its layout
// chosen; SolveFrequencyPoint (solve for the project's sources, write the result
// files) unless a study puts its own point here, with the same contract. A point
// may run on a worker thread while others run, or in another process
// (ComputationSettings::Jobs, PointExchange): it then talks to the person only
// through the control it is given, touches no state shared with other points, and
// encodes in `kept` (studies/byte_record.h) what the study keeps of it.
using FrequencyPointSolver = std::function<bool(SystemLayout, AssemblyInput&, ComputationControl&,
                                                FrequencyPointResult&, std::string& kept)>;
// Takes what the solver kept of a point into the study's result: on the calling
// thread, in frequency order, for the points that are kept.
using PointKeeper = std::function<void(const FrequencyPointResult&, const std::string& kept)>;

// The message rank 0 shows when another process of the run failed at one of its
// points: "Error: process 2 failed at 300 MHz: <error>".
std::string ProcessFailedMessage(int rank, double frequencyMHz, std::string_view error);

// started is called once validation has passed, before anything is computed: the
// moment for a window to switch to its running state (not before, so that a refused
// run never shows Abort).
ComputationReport RunComputation(Project& project, const ComputationSettings& settings,
                                 const RunEnvironment& environment, ComputationControl& control,
                                 const std::function<void()>& started = {},
                                 const FrequencyPointSolver& solvePoint = {},
                                 const PointKeeper& keepPoint = {});

}  // namespace lumetra
