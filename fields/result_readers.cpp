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

// The line a crash may have cut: the last line holding anything, when no line end
// follows it. Every writer ends its lines, so such a line is the remains of a
// write that never finished. 0 when the file ends with a whole line.
int CutLastLine(std::string_view content) {
  std::size_t last = content.size();
  while (last > 0 && (IsBlank(content[last - 1]) || content[last - 1] == '\n')) --last;
  if (last == 0 || content.find('\n', last) != std::string_view::npos) return 0;
  return 1 + static_cast<int>(std::count(content.begin(), content.begin() + last, '\n'));
}

// Whether a line without its line end holds nothing but what a writer stopped in
// the middle of: the characters of numbers and blanks, or the zero bytes a file
// system leaves where data was lost.
bool LooksCutShort(std::string_view line) {
  static constexpr char Allowed[] = "0123456789.E+- \t\r";  // with its closing zero byte
  return line.find_first_not_of(std::string_view(Allowed, sizeof Allowed)) ==
         std::string_view::npos;
}

// Walks a result file block by block, checking the structure as it goes.
//
// A computation appends its blocks one after the other, so a run that was killed
// or ran out of disk leaves at most one incomplete block, at the end: its header
// announces more lines than follow, or its last line stops without a line end.
// That tail is set aside (TailLine() tells where it began) and the blocks before
// it are read as usual; the same faults anywhere before the end remain errors.
class BlockCursor {
public:
  BlockCursor(std::string_view content, const std::string& fileName, int fieldsPerLine)
      : in_(content, fileName), fields_(fieldsPerLine), cutLine_(CutLastLine(content)) {}

  // Reads the next header; false at the end of the file or at an incomplete tail.
  bool NextHeader(double& frequency, std::int64_t& lineCount) {
    std::string line;
    const LineKind kind = NextLine(line);
    if (kind == LineKind::End) return false;
    headerLine_ = lineNumber_;
    if (kind == LineKind::Cut) {
      tailLine_ = headerLine_;
      return false;
    }
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
  // False when the block is the incomplete tail of the file.
  bool ReadRows(std::int64_t lineCount, std::vector<double>* values) {
    std::string line;
    for (std::int64_t row = 0; row < lineCount; ++row) {
      if (NextLine(line) != LineKind::Whole) {
        tailLine_ = headerLine_;
        return false;
      }
      const std::vector<std::string_view> tokens = Tokens(line);
      // A word is named before the count is judged: a line of text is not "3
      // numbers", and the word tells the user what got into the file.
      for (std::string_view token : tokens) {
        double value = 0.0;
        if (!Parse(token, value))
          in_.FailAtLine(lineNumber_, "number expected, found \"" + Shown(token) + "\"");
      }
      if (tokens.size() != static_cast<std::size_t>(fields_))
        in_.FailAtLine(lineNumber_, std::to_string(fields_) + " numbers expected on a data line, " +
                                        std::to_string(tokens.size()) + " found");
      if (values)
        for (std::string_view token : tokens) {
          double value = 0.0;
          Parse(token, value);
          values->push_back(value);
        }
    }
    return true;
  }

  // The header line of the incomplete block that ended the file, or 0.
  int TailLine() const { return tailLine_; }

  // The warning for the incomplete tail, when the walk reached one and the caller
  // asked for it.
  void ReportTail(std::string* warning) const {
    if (warning && tailLine_ > 0) *warning = DamagedTailWarning(in_.FileName(), tailLine_);
  }

private:
  enum class LineKind { Whole, Cut, End };

  // The next line that is not blank.
  LineKind NextLine(std::string& line) {
    for (;;) {
      lineNumber_ = in_.Line();
      if (lineNumber_ == cutLine_) {
        // The rest of the file, which may be long when it is the zeros a power
        // loss leaves in place of data that never reached the disk.
        line = in_.ReadLine(std::string::npos).value_or(std::string());
        if (LooksCutShort(line)) return LineKind::Cut;
        // Anything else is not what a writer stopped in: read it as a line.
        if (line.size() > MaxResultLineLength) in_.FailAtLine(lineNumber_, "line is too long");
        return LineKind::Whole;
      }
      std::optional<std::string> next = in_.ReadLine(MaxResultLineLength);
      if (!next) return LineKind::End;
      if (!Tokens(*next).empty()) {
        line = std::move(*next);
        return LineKind::Whole;
      }
    }
  }

  TextReader in_;
  int fields_;
  int cutLine_;
  int lineNumber_ = 1;
  int headerLine_ = 1;
  int tailLine_ = 0;
};

ResultBlock StartBlock(double frequency, int fieldsPerLine) {
  ResultBlock block;
  block.Frequency = frequency;
  block.FieldsPerLine = fieldsPerLine;
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

std::string DamagedTailWarning(const std::string& fileName, int line) {
  return "Warning: The last block of file \"" + fileName + "\" (from line " +
         std::to_string(line) +
         ") is incomplete, left by an interrupted computation; it was ignored.";
}

std::vector<double> ScanFrequencies(std::string_view content, const std::string& fileName,
                                    int fieldsPerLine, std::string* tailWarning) {
  CheckFields(fieldsPerLine);
  BlockCursor cursor(content, fileName, fieldsPerLine);
  std::vector<double> frequencies;
  double f = 0.0;
  std::int64_t n = 0;
  while (cursor.NextHeader(f, n) && cursor.ReadRows(n, nullptr)) frequencies.push_back(f);
  cursor.ReportTail(tailWarning);
  return frequencies;
}

std::optional<ResultBlock> FindBlock(std::string_view content, const std::string& fileName,
                                     double frequencyMHz, int fieldsPerLine,
                                     std::string* tailWarning) {
  CheckFields(fieldsPerLine);
  BlockCursor cursor(content, fileName, fieldsPerLine);
  double f = 0.0;
  std::int64_t n = 0;
  std::optional<ResultBlock> first;
  int blocks = 0;
  while (cursor.NextHeader(f, n)) {
    const bool match = f == frequencyMHz;
    // The first block is kept in case it stays the only one.
    ResultBlock block = StartBlock(f, fieldsPerLine);
    if (!cursor.ReadRows(n, match || blocks == 0 ? &block.Values : nullptr)) break;
    ++blocks;
    if (match) return block;
    if (blocks == 1) first = std::move(block);
    else first.reset();  // more than one block: only an exact match counts
  }
  cursor.ReportTail(tailWarning);
  return blocks == 1 ? first : std::nullopt;
}

std::optional<ResultBlock> FirstBlockAtOrAbove(std::string_view content,
                                               const std::string& fileName, double frequencyMHz,
                                               int fieldsPerLine, std::string* tailWarning) {
  CheckFields(fieldsPerLine);
  BlockCursor cursor(content, fileName, fieldsPerLine);
  double f = 0.0;
  std::int64_t n = 0;
  while (cursor.NextHeader(f, n)) {
    ResultBlock block = StartBlock(f, fieldsPerLine);
    const bool wanted = f >= frequencyMHz;
    if (!cursor.ReadRows(n, wanted ? &block.Values : nullptr)) break;
    if (wanted) return block;
  }
  cursor.ReportTail(tailWarning);
  return std::nullopt;
}

std::vector<double> ScanFrequencies(const std::filesystem::path& file, int fieldsPerLine,
                                    std::string* tailWarning) {
  return ScanFrequencies(ReadTextFile(file), file.string(), fieldsPerLine, tailWarning);
}

std::optional<ResultBlock> FindBlock(const std::filesystem::path& file, double frequencyMHz,
                                     int fieldsPerLine, std::string* tailWarning) {
  return FindBlock(ReadTextFile(file), file.string(), frequencyMHz, fieldsPerLine, tailWarning);
}

std::optional<ResultBlock> FirstBlockAtOrAbove(const std::filesystem::path& file,
                                               double frequencyMHz, int fieldsPerLine,
                                               std::string* tailWarning) {
  return FirstBlockAtOrAbove(ReadTextFile(file), file.string(), frequencyMHz, fieldsPerLine,
                             tailWarning);
}

}  // namespace lumetra
