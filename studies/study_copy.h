// The private copy a study (emission, network, immunity) computes on.
//
// A study drives the layout in ways the user never asked Compute for (one source
// at a time, loads turned into ports, harmonics as single frequencies). It works
// on a copy of the project in a private folder, so the user's project and result
// files are never written, and with the settings of an inner computation: no far
// field, no plane wave, no completion message or sound.
#pragma once

#include <string_view>

#include "model/private_directory.h"
#include "model/project.h"
#include "studies/computation_driver.h"

namespace lumetra {

// The project with its file moved into directory under its own name, or under
// fallbackName when it was never saved. Nothing is written yet.
Project StudyProjectCopy(const Project& project, const PrivateDirectory& directory,
                         std::string_view fallbackName);

// The user's computation settings as a study's inner computations take them.
ComputationSettings StudySettings(const ComputationSettings& settings);

// Temporary element files in the study's folder; Lumetra.TES from where the
// program was started.
RunEnvironment StudyEnvironment(const PrivateDirectory& directory);

}  // namespace lumetra
