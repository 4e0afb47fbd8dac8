#include "plots/current_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/project_files.h"

namespace lumetra {

std::int32_t SegmentOf(const std::vector<Segment>& segments, double x, double y) {
  std::int32_t found = 0;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const Segment& s = segments[i];
    if (x >= s.Xc - s.Lx / 2 && x <= s.Xc + s.Lx / 2 && y >= s.Yc - s.Ly / 2 &&
        y <= s.Yc + s.Ly / 2)
      found = static_cast<std::int32_t>(i + 1);
  }
  return found;
}

bool IsCurrentFileUsable(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return false;
  const std::vector<double> frequencies = ScanFrequencies(file, CurrentFileFields);
  if (frequencies.empty()) return false;
  const std::optional<ResultBlock> first = FindBlock(file, frequencies.front(), CurrentFileFields);
  return first && first->Rows() > 0;
}

std::optional<std::filesystem::path> PlotFrequencyFile(const std::filesystem::path& projectFile) {
  for (const char* extension : {".XXX", ".YYY"}) {
    const std::filesystem::path file = ProjectFileWithExtension(projectFile, extension);
    if (IsCurrentFileUsable(file)) return file;
  }
  return std::nullopt;
}

namespace {

std::vector<CurrentSample> ReadSamples(const std::filesystem::path& file,
                                       const std::vector<Segment>& segments, double frequency,
                                       double& maximum) {
  std::vector<CurrentSample> samples;
  maximum = 0.0;
  std::error_code error;
  if (!std::filesystem::exists(file, error) || IsResultFileEmpty(file)) return samples;
  const std::optional<ResultBlock> block = FindBlock(file, frequency, CurrentFileFields);
  if (!block) return samples;
  samples.reserve(block->Rows());
  for (std::size_t r = 0; r < block->Rows(); ++r) {
    const double* v = block->Row(r);
    CurrentSample s;
    s.X = v[0];
    s.Y = v[1];
    s.Dx = v[2];
    s.Dy = v[3];
    s.Re = v[4];
    s.Im = v[5];
    s.Magnitude = std::hypot(s.Re, s.Im);
    s.Phase = CurrentPhase(s.Re, s.Im);
    s.Segment = SegmentOf(segments, s.X, s.Y);
    maximum = std::max(maximum, s.Magnitude);
    samples.push_back(s);
  }
  return samples;
}

}  // namespace

CurrentSamples LoadCurrentSamples(const std::filesystem::path& projectFile,
                                  const std::vector<Segment>& segments, double frequencyMHz) {
  CurrentSamples result;
  result.Jx = ReadSamples(ProjectFileWithExtension(projectFile, ".XXX"), segments, frequencyMHz,
                          result.JxMax);
  result.Jy = ReadSamples(ProjectFileWithExtension(projectFile, ".YYY"), segments, frequencyMHz,
                          result.JyMax);
  const double largest = std::max(result.JxMax, result.JyMax);
  result.AmplitudeScale = largest > 0.0 ? 100.0 / largest : 0.0;
  return result;
}

std::string FormatCurrentMax(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3E", value);
  // "%E" writes at least two exponent digits; the label shows them without the
  // leading zeros ("1.234E-3", "1.234E+12").
  std::string text(buffer);
  const std::size_t e = text.find('E');
  if (e == std::string::npos || e + 2 >= text.size()) return text;
  std::size_t digits = e + 2;
  while (digits + 1 < text.size() && text[digits] == '0') text.erase(digits, 1);
  return text;
}

}  // namespace lumetra
