// The options every command that computes shares: loads, ground plane,
// resistivity and permittivity of the project, the substrate model and the
// solver's accuracy.
#pragma once

#include "cli/arguments.h"
#include "model/project.h"
#include "model/user_interface.h"
#include "studies/computation_settings.h"

namespace lumetra::cli {

// --loads / --no-loads (default: loads when the project has any), --ground-plane H /
// --no-ground-plane, --resistivity R / --no-resistivity, --diel ER, --accuracy
// standard|high (default standard). The environment goes into the project, where
// the Computation page keeps it too; the accuracy into the settings.
void ReadEnvironmentOptions(Arguments& args, Project& project, ComputationSettings& s);

// --effective-eps [--eps-approx N], --points N, --rel-error PCT: the substrate
// dialogs' settings, checked as the dialogs check them; false when a check refused
// a value (its message is shown).
bool SubstrateSettingsFromArguments(Arguments& args, ComputationSettings& s, UserInterface& ui);

}  // namespace lumetra::cli
