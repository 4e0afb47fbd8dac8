#include "model/frequency_list_file.h"

#include "model/file_io.h"
#include "model/project_files.h"
#include "model/text_reader.h"

namespace lumetra {

std::filesystem::path FrequencyListFileName(const std::filesystem::path& chosen) {
  std::filesystem::path path = chosen;
  path.replace_extension(".TXT");
  return path;
}

std::vector<std::string> ReadFrequencyListFile(const std::filesystem::path& path) {
  // A list of a few thousand frequencies is a few tens of kilobytes.
  const std::string content = ReadTextFile(path, 16u << 20);
  TextReader in(content, path.string());
  std::vector<std::string> lines;
  while (std::optional<std::string> line = in.ReadLine(1 << 16)) lines.push_back(*line);
  return lines;
}

void WriteFrequencyListFile(const std::filesystem::path& path,
                            const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += LineEnd;
  }
  WriteTextFile(path, content);
}

}  // namespace lumetra
