// New, Open, Save and Save As as the desktop program and lumetra-cli run them.
//
// The dialogs (file choosers, the New-project form) belong to the caller; these
// functions do everything after the user has chosen, and report through the
// UserInterface. Each returns false when the command ended without effect (the user
// said No or Cancel, or a file error was shown).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/project.h"
#include "model/user_interface.h"

namespace lumetra {

inline constexpr const char* SaveChangesQuestion = "Save changes to project?";

// Asks "Save changes to project?" when the project has unsaved changes (not in batch
// mode). Yes saves first; returns false when the user cancels or the save failed.
bool ConfirmSaveChanges(Project& project, UserInterface& ui);

// New project D/N.PRO for a board of pcbLx x pcbLy mm (already checked by the
// caller). An existing project of that name is overwritten only after the user
// agrees, and then its old files are deleted so no stale result or note is taken
// for the new project's. Nothing is written: the project exists on disk after the
// first Save.
bool NewProject(Project& project, const std::filesystem::path& directory,
                const std::string& name, std::int32_t pcbLx, std::int32_t pcbLy,
                UserInterface& ui);

// Reads the project at path. On success the model holds it (Saved, not Connected).
// On failure the error is shown and the model is left exactly as it was, so a
// damaged project can never be half-read and then saved over the good files.
bool OpenProject(Project& project, const std::filesystem::path& path, UserInterface& ui);

// Writes every project file under ProjectFile; Saved becomes true on success.
bool SaveProject(Project& project, UserInterface& ui);

// Save under a new name (the extension becomes .PRO). Asks before overwriting an
// existing project. Connecting-element and result files are not copied.
bool SaveProjectAs(Project& project, const std::filesystem::path& path, UserInterface& ui);

// Every file extension of a project, as New deletes them when it overwrites one.
const std::vector<std::string>& ProjectFileExtensions();

}  // namespace lumetra
