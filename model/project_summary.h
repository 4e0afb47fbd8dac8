// The "Project details" view of a saved project: the .PRO in readable form and the
// free-text note kept in the project's .TXT.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {

struct ProjectSummary {
  std::string Title;                // "Details for <name>.PRO"
  std::vector<std::string> Labels;  // 15 texts, in the order of the .PRO lines
};

// Reads the .PRO on disk; throws FileError when it is missing or damaged.
ProjectSummary ReadProjectSummary(const std::filesystem::path& projectFile);

// The note, lines joined with "\n"; nullopt when the project has no .TXT.
std::optional<std::string> ReadProjectNote(const std::filesystem::path& projectFile);
// Writes the note (lines separated by "\n" or CR LF) with CR LF line ends.
void WriteProjectNote(const std::filesystem::path& projectFile, const std::string& note);

}  // namespace lumetra
