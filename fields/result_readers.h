// Reading the result files back: the list of frequencies a file holds and the
// block of one frequency.
//
// A result file comes from disk and is treated as untrusted: every header must be
// "frequency count", every data line must hold exactly the file kind's number of
// values, and a block may not end early. Anything else is a FileError naming the
// file and the line, so a damaged file is reported instead of being misread; the
// memory a reader takes grows only with the lines actually present.
//
// One fault is expected rather than an error: a computation that was killed, lost
// its power or found the disk full while it appended a block leaves that block
// incomplete at the end of the file (fewer lines than its header announces, or a
// last line without its line end). The readers take such a file as the complete
// blocks before that tail; tailWarning, when given, receives the warning to show
// (DamagedTailWarning), and stays untouched for a file without one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

// The data lines of one frequency block, row after row.
struct ResultBlock {
  double Frequency = 0.0;  // MHz
  int FieldsPerLine = 0;
  std::vector<double> Values;

  std::size_t Rows() const {
    return FieldsPerLine > 0 ? Values.size() / static_cast<std::size_t>(FieldsPerLine) : 0;
  }
  const double* Row(std::size_t row) const {
    return Values.data() + row * static_cast<std::size_t>(FieldsPerLine);
  }
};

// True when the file is missing or holds nothing but blanks and line ends: the
// state a run leaves a current file in that the layout never writes.
bool IsResultFileEmpty(const std::filesystem::path& file);

// The current file whose frequencies stand for the run: the project's .XXX unless
// it is empty, else its .YYY (a layout with Jy elements only leaves .XXX empty).
std::filesystem::path FrequencyScanFile(const std::filesystem::path& projectFile);

// "Warning: The last block of file "<name>" (from line <n>) is incomplete, left by
// an interrupted computation; it was ignored."
std::string DamagedTailWarning(const std::string& fileName, int line);

// The frequencies of all blocks in file order; empty for an empty file. Throws
// FileError when the file is missing or damaged.
std::vector<double> ScanFrequencies(const std::filesystem::path& file, int fieldsPerLine,
                                    std::string* tailWarning = nullptr);

// The block whose frequency equals f exactly (f comes from a listed frequency
// converted back from its text). A file of a single block yields that block
// whatever its frequency. nullopt when no block matches.
std::optional<ResultBlock> FindBlock(const std::filesystem::path& file, double frequencyMHz,
                                     int fieldsPerLine, std::string* tailWarning = nullptr);

// The first block whose frequency is at least f: the way the field computations
// pick the currents of a frequency taken from a partner file, which tolerates the
// last digit of a written frequency. nullopt when every block lies below f.
std::optional<ResultBlock> FirstBlockAtOrAbove(const std::filesystem::path& file,
                                               double frequencyMHz, int fieldsPerLine,
                                               std::string* tailWarning = nullptr);

// The same three readers over file contents already in memory; fileName names the
// file in error messages.
std::vector<double> ScanFrequencies(std::string_view content, const std::string& fileName,
                                    int fieldsPerLine, std::string* tailWarning = nullptr);
std::optional<ResultBlock> FindBlock(std::string_view content, const std::string& fileName,
                                     double frequencyMHz, int fieldsPerLine,
                                     std::string* tailWarning = nullptr);
std::optional<ResultBlock> FirstBlockAtOrAbove(std::string_view content,
                                               const std::string& fileName, double frequencyMHz,
                                               int fieldsPerLine,
                                               std::string* tailWarning = nullptr);

}  // namespace lumetra
