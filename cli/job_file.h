// The job file of lumetra-cli batch: one project per line, followed by that
// project's compute options, exactly as they follow "lumetra-cli compute PATH".
//
//   # a night of sweeps
//   dipole/dipole.PRO --sweep 1300 1500 20
//   "boards/clock v2/clock.PRO" --freq 300 --far-field
//
// Words are separated by blanks and tabs; a word in double quotes may contain
// blanks (there is no escape inside quotes). Blank lines and lines whose first
// non-blank character is '#' are skipped. The file comes from anyone, so its size,
// its line length and its number of jobs are bounded, and control characters are
// refused rather than passed on into a path.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::cli {

// A night of sweeps is long, but a file asking for more than this is a mistake.
inline constexpr std::size_t MaxBatchJobs = 1000;
inline constexpr std::size_t MaxJobFileBytes = 1u << 20;
inline constexpr std::size_t MaxJobLineLength = 4096;

struct JobLine {
  int Line = 0;                    // 1-based, for the messages
  std::vector<std::string> Words;  // the project path, then the compute options
};

// Splits one line into words; throws std::invalid_argument with the reason for an
// unbalanced quote or a control character.
std::vector<std::string> SplitJobLine(std::string_view line);

// Every job of the file's text, in order. Throws FileError
// ("Error in file "<name>", line <n>: ...") for a malformed line, too long a line,
// too many jobs, or a file without any job.
std::vector<JobLine> ParseJobFile(std::string_view content, const std::string& fileName);

}  // namespace lumetra::cli
