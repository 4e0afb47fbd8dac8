// The options every command that computes shares: loads, ground plane,
// resistivity and permittivity of the project, the substrate model and the
// solver's accuracy.
#pragma once

#include <cstdint>

#include "cli/arguments.h"
#include "model/project.h"
#include "model/user_interface.h"
#include "studies/computation_settings.h"

namespace lumetra::cli {

// --loads / --no-loads (default: loads when the project has any), --ground-plane H /
// --no-ground-plane, --resistivity R / --no-resistivity, --diel ER, --accuracy
// standard|high (default standard), --max-unknowns N. The environment goes into the
// project, where the Computation page keeps it too; the accuracy and the limit into
// the settings.
void ReadEnvironmentOptions(Arguments& args, Project& project, ComputationSettings& s);

// --max-unknowns N: the limit on the unknowns of one direction and of a coupled
// system, a whole number from DefaultMaxUnknowns to LargestMaxUnknowns (a usage
// error otherwise); DefaultMaxUnknowns when absent.
std::int32_t TakeMaxUnknowns(Arguments& args);

// --effective-eps [--eps-approx N], --points N, --rel-error PCT: the substrate
// dialogs' settings, checked as the dialogs check them; false when a check refused
// a value (its message is shown).
bool SubstrateSettingsFromArguments(Arguments& args, ComputationSettings& s, UserInterface& ui);

}  // namespace lumetra::cli
