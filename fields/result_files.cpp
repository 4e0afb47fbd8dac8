#include "fields/result_files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "model/file_io.h"
#include "model/number_format.h"
#include "model/project_files.h"

namespace lumetra {

namespace {

constexpr double MetreToMillimetre = 1000.0;

// Appends one data line of R23 fields.
void AppendLine(std::string& block, std::initializer_list<double> fields) {
  bool firstField = true;
  for (double value : fields) {
    if (!firstField) block += ' ';
    block += FormatR23(value);
    firstField = false;
  }
  block += LineEnd;
}

}  // namespace

std::string FormatR13(double value) { return FormatExponential(value, 13); }

void WriteResultHeader(std::string& block, double frequencyMHz, std::int64_t lineCount) {
  block += FormatR23(frequencyMHz);
  block += ' ';
  block += FormatInteger(lineCount);
  block += LineEnd;
}

ResultFileStream::ResultFileStream(std::filesystem::path file, bool firstPoint)
    // Appending cannot go through a temporary that replaces the target, so result
    // files are written in place; every write and the close are checked.
    : writer_(std::move(file), firstPoint ? WriteMode::Truncate : WriteMode::Append) {}

ResultPointGuard::ResultPointGuard(std::vector<std::filesystem::path> files, bool firstPoint)
    : files_(std::move(files)) {
  for (const std::filesystem::path& file : files_) {
    std::error_code error;
    const std::uintmax_t length = firstPoint ? 0 : std::filesystem::file_size(file, error);
    lengths_.push_back(error ? 0 : length);
  }
}

ResultPointGuard::~ResultPointGuard() {
  if (kept_) return;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    std::error_code error;
    // A file the point never reached (missing, or not longer) stays as it is.
    const std::uintmax_t now = std::filesystem::file_size(files_[i], error);
    if (!error && now > lengths_[i]) std::filesystem::resize_file(files_[i], lengths_[i], error);
  }
}

std::vector<std::filesystem::path> ComputationResultFiles(const std::filesystem::path& projectFile,
                                                          bool farField) {
  std::vector<std::filesystem::path> files;
  for (const char* extension : {".XXX", ".YYY", ".ZZX", ".ZZY"})
    files.push_back(ProjectFileWithExtension(projectFile, extension));
  if (farField) files.push_back(ProjectFileWithExtension(projectFile, ".RAD"));
  return files;
}

std::string KeptResultsSentence(const std::vector<double>& frequencies) {
  if (frequencies.empty()) return "No results were kept.";
  if (frequencies.size() == 1)
    return "The results of " + FormatGeneral(frequencies.front()) + " MHz were kept.";
  return "The results of " + std::to_string(frequencies.size()) + " frequencies from " +
         FormatGeneral(frequencies.front()) + " to " + FormatGeneral(frequencies.back()) +
         " MHz were kept.";
}

std::string WithKeptResults(std::string_view error, const std::vector<double>& frequencies) {
  std::string text(error);
  if (!text.empty()) text += text.back() == '.' ? " " : ". ";
  return text + KeptResultsSentence(frequencies);
}

void WriteResultBlock(const std::filesystem::path& file, bool firstPoint, std::string_view block) {
  ResultFileStream stream(file, firstPoint);
  stream.Write(block);
  stream.Close();
}

void CreateEmptyResultFiles(const std::filesystem::path& projectFile) {
  for (const char* extension : {".XXX", ".YYY", ".ZZX", ".ZZY"})
    WriteResultBlock(ProjectFileWithExtension(projectFile, extension), true, {});
}

void WriteCurrentFile(const std::filesystem::path& file, bool firstPoint, double frequencyMHz,
                      const std::vector<CurrentCell>& elements, const Complex* densities) {
  std::string block;
  block.reserve(32 + elements.size() * 6 * 24);
  WriteResultHeader(block, frequencyMHz, static_cast<std::int64_t>(elements.size()));
  for (std::size_t n = 0; n < elements.size(); ++n) {
    const CurrentCell& e = elements[n];
    AppendLine(block, {e.X * MetreToMillimetre, e.Y * MetreToMillimetre, e.Dx * MetreToMillimetre,
                       e.Dy * MetreToMillimetre, densities[n].Re, densities[n].Im});
  }
  WriteResultBlock(file, firstPoint, block);
}

void WriteGroundPlaneFiles(const std::filesystem::path& projectFile, bool firstPoint,
                           double frequencyMHz, const ElementLists& lists,
                           const Complex* groundCurrents, double groundPlaneHeightMm) {
  if (!groundCurrents && !lists.GroundPoints.empty())
    throw std::invalid_argument("ground-point currents missing for the ground-plane files");
  std::int64_t onX = 0;
  for (const GroundContact& g : lists.GroundPoints) onX += g.OnXEdge ? 1 : 0;
  const std::int64_t onY = lists.NG() - onX;

  std::string zzx, zzy;
  WriteResultHeader(zzx, frequencyMHz, onX);
  WriteResultHeader(zzy, frequencyMHz, onY);
  for (std::size_t i = 0; i < lists.GroundPoints.size(); ++i) {
    const GroundContact& g = lists.GroundPoints[i];
    // The charge number was checked against the charge list when the lists loaded.
    const ChargeCell& q = lists.Charges.at(static_cast<std::size_t>(g.ChargeNo - 1));
    const double dxq = q.Dx * MetreToMillimetre, dyq = q.Dy * MetreToMillimetre;
    // The half-size field along the edge normal carries the side: it points from
    // the edge into the charge cell, where the horizontal half strip lies.
    const double signedX = g.Side > 0 ? dxq / 2 : -dxq / 2;
    const double signedY = g.Side > 0 ? dyq / 2 : -dyq / 2;
    AppendLine(g.OnXEdge ? zzx : zzy,
               {g.X * MetreToMillimetre, g.Y * MetreToMillimetre, g.OnXEdge ? signedX : dxq,
                g.OnXEdge ? dyq : signedY, groundPlaneHeightMm, groundCurrents[i].Re,
                groundCurrents[i].Im});
  }
  WriteResultBlock(ProjectFileWithExtension(projectFile, ".ZZX"), firstPoint, zzx);
  WriteResultBlock(ProjectFileWithExtension(projectFile, ".ZZY"), firstPoint, zzy);
}

}  // namespace lumetra
