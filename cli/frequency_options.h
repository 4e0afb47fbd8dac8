// The frequency options of every command that computes: --freq F | --sweep START
// STOP STEP [--log] | --freq-list FILE (MHz), into the Computation page's fields.
#pragma once

#include <filesystem>

#include "cli/arguments.h"
#include "model/project.h"
#include "model/user_interface.h"
#include "studies/computation_settings.h"

namespace lumetra::cli {

// Throws FileError when the list file cannot be read (the caller shows it).
void ReadFrequencyOptions(Arguments& args, ComputationSettings& s);

// What the sweep studies (network, immunity) read after their own options: the
// project at path, then the frequency, environment and substrate options into
// settings (without time messages or sounds), and the end of the line. False when
// the project could not be opened or a value was refused (the message is shown);
// a malformed line throws UsageError.
bool OpenProjectWithSweepOptions(Arguments& args, const std::filesystem::path& path,
                                 Project& project, ComputationSettings& settings,
                                 UserInterface& ui);

}  // namespace lumetra::cli
