// Writing the result files a computation leaves beside the project: the current
// files .XXX and .YYY, the ground-point files .ZZX and .ZZY, and the block framing
// shared with the far-field (.RAD) and near-field (.NFE, .NFH) writers.
//
// Every result file is a run of frequency blocks: a header line "f N" (f in MHz as
// R23, N the plain line count) followed by exactly N data lines of blank-separated
// numbers, CR LF line ends, nothing between blocks. The first frequency point of a
// run truncates the file; every later point appends one block, so one file only
// ever holds the results of one run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/file_io.h"
#include "model/number_format.h"
#include "solver/complex_arithmetic.h"
#include "solver/element_lists.h"

namespace lumetra {

// Numbers per data line of each file kind, for the readers.
inline constexpr int CurrentFileFields = 6;
inline constexpr int GroundPlaneFileFields = 7;
inline constexpr int FarFieldFileFields = 4;
inline constexpr int NearFieldFileFields = 9;

// R13, the short form of the far-field file: 100 is " 1.0000E+0002".
std::string FormatR13(double value);

// Appends the block header "f N" to the block text being built.
void WriteResultHeader(std::string& block, double frequencyMHz, std::int64_t lineCount);

// A result file opened by the rule every writer follows: created or truncated at
// the first frequency point of a run, opened for appending at every later point.
// Text is buffered and written in pieces, so a long block never sits in memory
// whole. The block is kept only when Close() succeeds: a write error (a full
// disk), Discard() (an abort) or destruction without Close() cuts the file back to
// where the block began, empty at the first point, so the file only ever holds
// whole blocks. Every failure is a FileError naming the file.
class ResultFileStream {
public:
  ResultFileStream(std::filesystem::path file, bool firstPoint);
  ResultFileStream(const ResultFileStream&) = delete;
  ResultFileStream& operator=(const ResultFileStream&) = delete;

  void Write(std::string_view text) { writer_.Write(text); }
  void Close() { writer_.Commit(); }
  void Discard() { writer_.Discard(); }

private:
  FileWriter writer_;
};

// The result files one frequency point of a computation writes, with their lengths
// before it began. When the point fails part-way (a full disk while the far field
// is written, an abort) the blocks it already finished in the other files go too,
// so every file of the run holds the same frequencies. Keep() accepts the point;
// without it the destructor cuts every file back (empty at the first point).
class ResultPointGuard {
public:
  ResultPointGuard(std::vector<std::filesystem::path> files, bool firstPoint);
  ~ResultPointGuard();
  ResultPointGuard(const ResultPointGuard&) = delete;
  ResultPointGuard& operator=(const ResultPointGuard&) = delete;

  void Keep() { kept_ = true; }

private:
  std::vector<std::filesystem::path> files_;
  std::vector<std::uintmax_t> lengths_;
  bool kept_ = false;
};

// The result files a computation point writes: .XXX, .YYY, .ZZX, .ZZY, and .RAD
// with the far field (a run without it leaves the .RAD of an earlier run alone).
std::vector<std::filesystem::path> ComputationResultFiles(const std::filesystem::path& projectFile,
                                                          bool farField);

// The sentence that follows a write error and tells what the files still hold:
// "The results of 100 MHz were kept.", "The results of 4 frequencies from 100 to
// 400 MHz were kept." or "No results were kept." (frequencies in file order).
std::string KeptResultsSentence(const std::vector<double>& frequencies);

// A write error's text followed by KeptResultsSentence.
std::string WithKeptResults(std::string_view error, const std::vector<double>& frequencies);

// Puts one finished block into the file by the opening rule above.
void WriteResultBlock(const std::filesystem::path& file, bool firstPoint, std::string_view block);

// The four current files (.XXX, .YYY, .ZZX, .ZZY) of the project, created or
// truncated empty. A run starts with this so that a file the layout never writes
// (no Jy elements, no ground plane) cannot carry results of an earlier run.
void CreateEmptyResultFiles(const std::filesystem::path& projectFile);

// One block of a current file (.XXX for Jx, .YYY for Jy): per element its centre
// and size in millimetres and the solved current density (A/m). `densities` holds
// elements.size() values in the same order.
void WriteCurrentFile(const std::filesystem::path& file, bool firstPoint, double frequencyMHz,
                      const std::vector<CurrentCell>& elements, const Complex* densities);

// One block each of .ZZX (ground points on a left or right cell edge) and .ZZY
// (bottom or top edge), both written also when they hold no point. groundCurrents
// holds one current unknown per ground point of lists.GroundPoints, in list order
// (null only when there are none: std::invalid_argument otherwise).
// groundPlaneHeightMm is the height as the user typed it, so the file shows that
// number rather than a metre round trip of it.
void WriteGroundPlaneFiles(const std::filesystem::path& projectFile, bool firstPoint,
                           double frequencyMHz, const ElementLists& lists,
                           const Complex* groundCurrents, double groundPlaneHeightMm);

}  // namespace lumetra
