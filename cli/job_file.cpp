#include "cli/job_file.h"

#include <stdexcept>

#include "model/file_io.h"
#include "model/text_reader.h"

namespace lumetra::cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Control characters other than the tab have no place in a path or an option; a
// NUL would even cut the path short where the system reads it.
bool IsControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u < 0x20 && c != '\t') || u == 0x7f;
}

bool IsSkipped(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  return i == line.size() || line[i] == '#';
}

}  // namespace

std::vector<std::string> SplitJobLine(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return words;
    std::string word;
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) throw std::invalid_argument("missing closing quote");
      word = line.substr(i + 1, close - i - 1);
      i = close + 1;
      if (i < line.size() && !IsBlank(line[i]))
        throw std::invalid_argument("a closing quote must end its word");
    } else {
      while (i < line.size() && !IsBlank(line[i])) {
        if (line[i] == '"')
          throw std::invalid_argument("a quote inside a word; put the whole word in quotes");
        word += line[i++];
      }
    }
    for (char c : word)
      if (IsControl(c)) throw std::invalid_argument("control character in a word");
    words.push_back(std::move(word));
  }
}

std::vector<JobLine> ParseJobFile(std::string_view content, const std::string& fileName) {
  TextReader in(content, fileName);
  std::vector<JobLine> jobs;
  while (true) {
    const int line = in.Line();
    const std::optional<std::string> text = in.ReadLine(MaxJobLineLength);
    if (!text) break;
    if (IsSkipped(*text)) continue;
    if (jobs.size() == MaxBatchJobs)
      in.FailAtLine(line, "more than " + std::to_string(MaxBatchJobs) + " jobs in one file");
    try {
      jobs.push_back({line, SplitJobLine(*text)});
    } catch (const std::invalid_argument& error) {
      in.FailAtLine(line, error.what());
    }
  }
  if (jobs.empty()) throw FileError("Error in file \"" + fileName + "\": it names no project");
  return jobs;
}

}  // namespace lumetra::cli
