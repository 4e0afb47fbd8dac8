#include "fields/result_readers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <unistd.h>

#include "model/file_io.h"
#include "model/project_files.h"
#include "model/text_reader.h"

namespace lumetra {

namespace {

// A data line of the widest file (nine R23 fields) is 215 characters.
constexpr std::size_t MaxResultLineLength = 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

std::string Shown(std::string_view token) {
  return token.size() > 24 ? std::string(token.substr(0, 24)) + "..." : std::string(token);
}

std::string_view WithoutPlus(std::string_view token) {
  if (token.size() > 1 && token[0] == '+' && token[1] != '+' && token[1] != '-')
    token.remove_prefix(1);
  return token;
}

template <typename Number>
bool Parse(std::string_view token, Number& value) {
  token = WithoutPlus(token);
  const auto [stop, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc{} || stop != token.data() + token.size()) return false;
  if constexpr (std::is_floating_point_v<Number>) return std::isfinite(value);
  return true;
}

// Walks a result file block by block, checking the structure as it goes.
class BlockCursor {
public:
  BlockCursor(std::string_view content, const std::string& fileName, int fieldsPerLine)
      : in_(content, fileName), fields_(fieldsPerLine) {}

  // Reads the next header; false at the end of the file.
  bool NextHeader(double& frequency, std::int64_t& lineCount) {
    std::string line;
    if (!NextLine(line)) return false;
    headerLine_ = lineNumber_;
    const std::vector<std::string_view> tokens = Tokens(line);
    if (tokens.size() != 2 || !Parse(tokens[0], frequency))
      in_.FailAtLine(lineNumber_, "block header (frequency and line count) expected, found \"" +
                                      Shown(line) + "\"");
    if (!Parse(tokens[1], lineCount) || lineCount < 0 ||
        lineCount > std::numeric_limits<std::int32_t>::max())
      in_.FailAtLine(lineNumber_, "line count expected after the frequency, found \"" +
                                      Shown(tokens[1]) + "\"");
    return true;
  }

  // Reads the data lines of the block just opened; values receives them when given.
  void ReadRows(std::int64_t lineCount, std::vector<double>* values) {
    std::string line;
    for (std::int64_t row = 0; row < lineCount; ++row) {
      if (!NextLine(line))
        in_.FailAtLine(lastLine_, "unexpected end of file, the block of line " +
                                        std::to_string(headerLine_) + " announces " +
                                        std::to_string(lineCount) + " data lines, " +
                                        std::to_string(row) + " found");
      const std::vector<std::string_view> tokens = Tokens(line);
      if (tokens.size() != static_cast<std::size_t>(fields_))
        in_.FailAtLine(lineNumber_, std::to_string(fields_) + " numbers expected on a data line, " +
                                        std::to_string(tokens.size()) + " found");
      for (std::string_view token : tokens) {
        double value = 0.0;
        if (!Parse(token, value))
          in_.FailAtLine(lineNumber_, "number expected, found \"" + Shown(token) + "\"");
        if (values) values->push_back(value);
      }
    }
  }

private:
  // The next line that is not blank; false at the end of the file.
  bool NextLine(std::string& line) {
    for (;;) {
      lineNumber_ = in_.Line();
      std::optional<std::string> next = in_.ReadLine(MaxResultLineLength);
      if (!next) return false;
      if (!Tokens(*next).empty()) {
        lastLine_ = lineNumber_;
        line = std::move(*next);
        return true;
      }
    }
  }

  TextReader in_;
  int fields_;
  int lineNumber_ = 1;
  int headerLine_ = 1;
  int lastLine_ = 1;  // the last line that held anything, where the end is reported
};

ResultBlock ReadBlock(BlockCursor& cursor, double frequency, std::int64_t lineCount,
                      int fieldsPerLine) {
  ResultBlock block;
  block.Frequency = frequency;
  block.FieldsPerLine = fieldsPerLine;
  cursor.ReadRows(lineCount, &block.Values);
  return block;
}

void CheckFields(int fieldsPerLine) {
  if (fieldsPerLine < 1 || fieldsPerLine > 64)
    throw std::invalid_argument("result files have 1 to 64 fields per line");
}

}  // namespace

bool IsResultFileEmpty(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return true;
    throw FileError(CannotOpenMessage(file, errno));
  }
  // Only as much is read as it takes to find the first character of a number.
  char buffer[4096];
  bool empty = true;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    const char* begin = buffer;
    const char* end = buffer + n;
    if (std::find_if(begin, end, [](char c) { return !IsBlank(c) && c != '\n'; }) != end) {
      empty = false;
      break;
    }
  }
  ::close(fd);
  return empty;
}

std::filesystem::path FrequencyScanFile(const std::filesystem::path& projectFile) {
  const std::filesystem::path xxx = ProjectFileWithExtension(projectFile, ".XXX");
  return IsResultFileEmpty(xxx) ? ProjectFileWithExtension(projectFile, ".YYY") : xxx;
}

std::vector<double> ScanFrequencies(std::string_view content, const std::string& fileName,
                                    int fieldsPerLine) {
  CheckFields(fieldsPerLine);
  BlockCursor cursor(content, fileName, fieldsPerLine);
  std::vector<double> frequencies;
  double f = 0.0;
  std::int64_t n = 0;
  while (cursor.NextHeader(f, n)) {
    frequencies.push_back(f);
    cursor.ReadRows(n, nullptr);
  }
  return frequencies;
}

std::optional<ResultBlock> FindBlock(std::string_view content, const std::string& fileName,
                                     double frequencyMHz, int fieldsPerLine) {
  CheckFields(fieldsPerLine);
  BlockCursor cursor(content, fileName, fieldsPerLine);
  double f = 0.0;
  std::int64_t n = 0;
  std::optional<ResultBlock> first;
  int blocks = 0;
  while (cursor.NextHeader(f, n)) {
    ++blocks;
    if (f == frequencyMHz) return ReadBlock(cursor, f, n, fieldsPerLine);
    if (blocks == 1) {
      first = ReadBlock(cursor, f, n, fieldsPerLine);
    } else {
      first.reset();  // more than one block: only an exact match counts
      cursor.ReadRows(n, nullptr);
    }
  }
  return blocks == 1 ? first : std::nullopt;
}

std::optional<ResultBlock> FirstBlockAtOrAbove(std::string_view content,
                                               const std::string& fileName, double frequencyMHz,
                                               int fieldsPerLine) {
  CheckFields(fieldsPerLine);
  BlockCursor cursor(content, fileName, fieldsPerLine);
  double f = 0.0;
  std::int64_t n = 0;
  while (cursor.NextHeader(f, n)) {
    if (f >= frequencyMHz) return ReadBlock(cursor, f, n, fieldsPerLine);
    cursor.ReadRows(n, nullptr);
  }
  return std::nullopt;
}

std::vector<double> ScanFrequencies(const std::filesystem::path& file, int fieldsPerLine) {
  return ScanFrequencies(ReadTextFile(file), file.string(), fieldsPerLine);
}

std::optional<ResultBlock> FindBlock(const std::filesystem::path& file, double frequencyMHz,
                                     int fieldsPerLine) {
  return FindBlock(ReadTextFile(file), file.string(), frequencyMHz, fieldsPerLine);
}

std::optional<ResultBlock> FirstBlockAtOrAbove(const std::filesystem::path& file,
                                               double frequencyMHz, int fieldsPerLine) {
  return FirstBlockAtOrAbove(ReadTextFile(file), file.string(), frequencyMHz, fieldsPerLine);
}

}  // namespace lumetra
