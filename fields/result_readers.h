// Reading the result files back: the list of frequencies a file holds and the
// block of one frequency.
//
// A result file comes from disk and is treated as untrusted: every header must be
// "frequency count", every data line must hold exactly the file kind's number of
// values, and a block may not end early. Anything else is a FileError naming the
// file and the line, so a damaged file is reported instead of being misread; the
// memory a reader takes grows only with the lines actually present.
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

// The frequencies of all blocks in file order; empty for an empty file. Throws
// FileError when the file is missing or damaged.
std::vector<double> ScanFrequencies(const std::filesystem::path& file, int fieldsPerLine);

// The block whose frequency equals f exactly (f comes from a listed frequency
// converted back from its text). A file of a single block yields that block
// whatever its frequency. nullopt when no block matches.
std::optional<ResultBlock> FindBlock(const std::filesystem::path& file, double frequencyMHz,
                                     int fieldsPerLine);

// The first block whose frequency is at least f: the way the field computations
// pick the currents of a frequency taken from a partner file, which tolerates the
// last digit of a written frequency. nullopt when every block lies below f.
std::optional<ResultBlock> FirstBlockAtOrAbove(const std::filesystem::path& file,
                                               double frequencyMHz, int fieldsPerLine);

// The same three readers over file contents already in memory; fileName names the
// file in error messages.
std::vector<double> ScanFrequencies(std::string_view content, const std::string& fileName,
                                    int fieldsPerLine);
std::optional<ResultBlock> FindBlock(std::string_view content, const std::string& fileName,
                                     double frequencyMHz, int fieldsPerLine);
std::optional<ResultBlock> FirstBlockAtOrAbove(std::string_view content,
                                               const std::string& fileName, double frequencyMHz,
                                               int fieldsPerLine);

}  // namespace lumetra
