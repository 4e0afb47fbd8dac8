// Saving a project that an import made, under the name the user chose.
#pragma once

#include <filesystem>

#include "model/project.h"
#include "model/user_interface.h"

namespace lumetra {

// Writes the project as a new project at path (the extension becomes .PRO), the way
// New starts one there: an existing project is overwritten only after the user
// agrees, and then its old files are removed, so that no result of the old layout
// is taken for the new one's. On success project.ProjectFile names the file and the
// project is Saved; false when the user declined or a file error was shown.
bool SaveImportedProject(Project& project, const std::filesystem::path& path,
                         UserInterface& ui);

}  // namespace lumetra
