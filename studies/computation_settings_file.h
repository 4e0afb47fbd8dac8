// The Computation page's settings stored beside the project as "<name>.STG", so
// that each project reopens with the frequencies, excitation, loads, far-field
// angles and substrate options it was last computed or saved with, and a batch of
// projects computes each with its own. The project's own files are untouched: the
// environment (ground plane, substrate, resistivity) stays in the .PRO.
//
// The file is JSON with the page's texts as typed, so a value comes back exactly as
// the user left it and a text that is no number is refused by the computation's
// checks when it runs, not when the file is read. The solver's accuracy is stored
// too, since it decides what the project's results mean. Menu options (sounds,
// times) and the spectral integration settings belong to the program and are not
// stored.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "studies/computation_settings.h"

namespace lumetra {

inline constexpr const char* ComputationSettingsExtension = ".STG";

// What the file holds besides the page: the frequency last chosen for the result
// pages and lists of this project (MHz, 0 when none was chosen).
struct StoredComputationSettings {
  ComputationSettings Page;
  double SelectedFrequency = 0.0;
};

std::filesystem::path ComputationSettingsFile(const std::filesystem::path& projectFile);

// The JSON text (CR LF line ends) and its reading. Reading takes the page defaults
// for every entry the text does not have (a file of an older version), and throws
// FileError naming fileName for text that is no settings file or holds an entry of
// the wrong kind.
std::string FormatComputationSettings(const StoredComputationSettings& settings);
StoredComputationSettings ParseComputationSettings(const std::string& text,
                                                   const std::string& fileName);

// Writes the project's settings file (replacing it whole); throws FileError.
void SaveComputationSettings(const std::filesystem::path& projectFile,
                             const StoredComputationSettings& settings);
// The project's settings; nullopt when the project has no settings file yet.
// Throws FileError for a damaged one.
std::optional<StoredComputationSettings> LoadComputationSettings(
    const std::filesystem::path& projectFile);

}  // namespace lumetra
