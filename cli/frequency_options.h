// The frequency options of every command that computes: --freq F | --sweep START
// STOP STEP [--log] | --freq-list FILE (MHz), into the Computation page's fields.
#pragma once

#include "cli/arguments.h"
#include "studies/computation_settings.h"

namespace lumetra::cli {

// Throws FileError when the list file cannot be read (the caller shows it).
void ReadFrequencyOptions(Arguments& args, ComputationSettings& s);

}  // namespace lumetra::cli
