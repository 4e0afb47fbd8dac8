#include "studies/emission/csv_lines.h"

#include <charconv>
#include <cmath>

#include "model/file_io.h"

namespace lumetra::emission {

namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

void FailAtLine(const std::string& fileName, int lineNo, const std::string& reason) {
  throw FileError("Error: " + fileName + ", line " + std::to_string(lineNo) + ": " + reason);
}

std::vector<CsvRecord> SplitCsv(std::string_view text, const std::string& fileName) {
  std::vector<CsvRecord> records;
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (line.size() > MaxCsvLineLength)
      FailAtLine(fileName, lineNo, "the line is longer than " + std::to_string(MaxCsvLineLength) +
                                       " characters");
    if (line.find('\0') != std::string_view::npos)
      FailAtLine(fileName, lineNo, "the line holds a NUL character; this is not a text file");
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    if (records.size() >= MaxCsvRecords)
      FailAtLine(fileName, lineNo, "more than " + std::to_string(MaxCsvRecords) + " lines of data");
    CsvRecord record;
    record.LineNo = lineNo;
    std::size_t start = 0;
    while (true) {
      const std::size_t comma = line.find(',', start);
      record.Fields.emplace_back(Trim(line.substr(start, comma == std::string_view::npos
                                                             ? std::string_view::npos
                                                             : comma - start)));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    records.push_back(std::move(record));
  }
  return records;
}

bool ParseReal(const std::string& field, double& value) {
  if (field.empty()) return false;
  const char* first = field.data();
  const char* last = field.data() + field.size();
  if (*first == '+') ++first;  // from_chars refuses a leading plus sign
  if (first == last) return false;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  return ec == std::errc() && ptr == last && std::isfinite(value);
}

}  // namespace lumetra::emission
