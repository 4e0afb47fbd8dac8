// Splitting a small comma-separated text file into numbered records, for the
// emission data files (source signals and limit lines). Every such file comes from
// a user or another program and is treated as untrusted: each failure names the
// file and the line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::emission {

// One line that carries data: its 1-based line number and its fields, trimmed.
struct CsvRecord {
  int LineNo = 0;
  std::vector<std::string> Fields;
};

// Largest data file accepted, and the most records and the longest line in one.
// A measured signal with a line every 10 kHz up to 6 GHz stays below these.
inline constexpr std::size_t MaxCsvBytes = 32u << 20;
inline constexpr std::size_t MaxCsvRecords = 1000000;
inline constexpr std::size_t MaxCsvLineLength = 4096;

// Splits the text at CR LF or LF, dropping blank lines and lines whose first
// non-blank character is '#'. Throws FileError naming the file and the line for
// a line that is too long, a NUL byte, or too many records.
std::vector<CsvRecord> SplitCsv(std::string_view text, const std::string& fileName);

// "<file>, line <n>: <reason>" as a FileError.
[[noreturn]] void FailAtLine(const std::string& fileName, int lineNo, const std::string& reason);

// True when the field reads as a finite decimal number; the value goes to value.
bool ParseReal(const std::string& field, double& value);

}  // namespace lumetra::emission
