#include "model/project_summary.h"

#include <system_error>

#include "model/file_io.h"
#include "model/project_files.h"
#include "model/text_reader.h"

namespace lumetra {

ProjectSummary ReadProjectSummary(const std::filesystem::path& projectFile) {
  const std::string content = ReadTextFile(projectFile);
  TextReader in(content, projectFile.string());
  std::vector<std::string> lines;
  for (int n = 1; n <= 14; ++n) {
    std::optional<std::string> line = in.ReadLine();
    if (!line) in.FailAtLine(n, "unexpected end of file, the project file has 15 lines");
    lines.push_back(std::move(*line));
  }
  const std::optional<std::string> dielectric = in.ReadLine();

  ProjectSummary summary;
  summary.Title = "Details for " + projectFile.filename().string();
  std::vector<std::string>& l = summary.Labels;
  l.push_back("Date: " + lines[0]);
  l.push_back("Time: " + lines[1]);
  l.push_back("Length: " + lines[2] + " mm");
  l.push_back("Width: " + lines[3] + " mm");
  l.push_back("No. of segments: " + lines[4]);
  l.push_back("No. of charge elements: " + lines[5]);
  l.push_back(lines[6] == "0" ? "Ground plane not specified"
                              : "Ground plane height: " + lines[6] + " mm");
  l.push_back(lines[7] == "0" ? "Resistivity not specified" : "Resistivity: " + lines[7] + " Ohm");
  l.push_back("Grid size: " + lines[8] + " mm");
  l.push_back("Charges per x-grid: " + lines[9]);
  l.push_back("Charges per y-grid: " + lines[10]);
  l.push_back("No. of sources: " + lines[11]);
  l.push_back("No. of impedances: " + lines[12]);
  l.push_back("No. of ground points: " + lines[13]);
  // The dielectric fills the space between layout and ground plane: without a
  // plane the layout is in free space whatever the stored constant says, and over
  // a plane with a constant of 1 it is air, not free space.
  const bool groundPlane = lines[6] != "0";
  const bool air = !dielectric || *dielectric == "1";
  l.push_back(!groundPlane ? "Free space environment"
              : air        ? "Air between layout and ground plane"
                           : "Relative dielectric constant: " + *dielectric);
  return summary;
}

std::optional<std::string> ReadProjectNote(const std::filesystem::path& projectFile) {
  const std::filesystem::path path = ProjectFileWithExtension(projectFile, ".TXT");
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  const std::string content = ReadTextFile(path);
  TextReader in(content, path.string());
  std::string note;
  bool first = true;
  while (std::optional<std::string> line = in.ReadLine(1 << 20)) {
    if (!first) note += '\n';
    note += *line;
    first = false;
  }
  return note;
}

void WriteProjectNote(const std::filesystem::path& projectFile, const std::string& note) {
  std::string content;
  TextReader in(note, "note");
  while (std::optional<std::string> line = in.ReadLine(note.size())) {
    content += *line;
    content += LineEnd;
  }
  WriteTextFile(ProjectFileWithExtension(projectFile, ".TXT"), content);
}

}  // namespace lumetra
