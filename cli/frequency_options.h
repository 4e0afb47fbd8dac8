// The frequency options of every command that computes: --freq F | --sweep START
// STOP STEP [--log] | --freq-list FILE (MHz), into the Computation page's fields,
// and --jobs N, the points of the sweep solved at once.
#pragma once

#include <filesystem>

#include "cli/arguments.h"
#include "model/project.h"
#include "model/user_interface.h"
#include "studies/computation_settings.h"
#include "studies/point_exchange.h"

namespace lumetra::cli {

// The processes that share every sweep of this run: lumetra-mpi sets it; none
// (lumetra-cli) computes in this process alone.
inline PointExchange* SharedSweepExchange = nullptr;

// Throws FileError when the list file cannot be read (the caller shows it), and
// UsageError for a --jobs that is not a whole number of at least 1.
void ReadFrequencyOptions(Arguments& args, ComputationSettings& s);

// --jobs N alone (the emission run's lines), and the run's SharedSweepExchange.
// Throws UsageError for a value that is not a whole number of at least 1.
void ReadJobsOption(Arguments& args, ComputationSettings& s);

// What the sweep studies (network, immunity) read after their own options: the
// project at path, then the frequency, environment and substrate options into
// settings (without time messages or sounds), and the end of the line. False when
// the project could not be opened or a value was refused (the message is shown);
// a malformed line throws UsageError.
bool OpenProjectWithSweepOptions(Arguments& args, const std::filesystem::path& path,
                                 Project& project, ComputationSettings& settings,
                                 UserInterface& ui);

}  // namespace lumetra::cli
