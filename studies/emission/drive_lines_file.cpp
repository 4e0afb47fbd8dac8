#include "studies/emission/drive_lines_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "model/file_io.h"
#include "studies/emission/csv_lines.h"

namespace lumetra::emission {

bool SameFrequency(double aMHz, double bMHz) {
  return std::abs(aMHz - bMHz) <= FrequencyTolerance * std::max(std::abs(aMHz), std::abs(bMHz));
}

namespace {

bool LooksLikeHeader(const CsvRecord& record) {
  double ignored = 0.0;
  return !ParseReal(record.Fields.front(), ignored);
}

}  // namespace

std::vector<DriveLine> ParseDriveLinesText(std::string_view text, const std::string& fileName) {
  const std::vector<CsvRecord> records = SplitCsv(text, fileName);
  std::vector<std::pair<DriveLine, int>> lines;  // with the line number, for duplicates
  lines.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const CsvRecord& r = records[i];
    if (i == 0 && LooksLikeHeader(r)) continue;
    if (r.Fields.size() < 2 || r.Fields.size() > 3)
      FailAtLine(fileName, r.LineNo,
                 "expected \"frequency_MHz, amplitude_V\" or \"frequency_MHz, amplitude_V, phase_deg\"");
    double f = 0.0, amplitude = 0.0, phase = 0.0;
    if (!ParseReal(r.Fields[0], f) || f <= 0.0)
      FailAtLine(fileName, r.LineNo, "the frequency \"" + r.Fields[0] + "\" is not a positive number of MHz");
    if (!ParseReal(r.Fields[1], amplitude) || amplitude < 0.0)
      FailAtLine(fileName, r.LineNo,
                 "the amplitude \"" + r.Fields[1] + "\" is not a number of volts of at least 0");
    if (r.Fields.size() == 3 && (!ParseReal(r.Fields[2], phase) || std::abs(phase) > 360.0))
      FailAtLine(fileName, r.LineNo,
                 "the phase \"" + r.Fields[2] + "\" is not a number of degrees from -360 to 360");
    lines.push_back({{f, std::polar(amplitude, phase * std::numbers::pi / 180.0)}, r.LineNo});
  }
  if (lines.empty()) throw FileError("Error: " + fileName + ": the file holds no frequency line");
  std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
    return a.first.FrequencyMHz < b.first.FrequencyMHz;
  });
  std::vector<DriveLine> result;
  result.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 && SameFrequency(lines[i - 1].first.FrequencyMHz, lines[i].first.FrequencyMHz)) {
      const int a = std::min(lines[i - 1].second, lines[i].second);
      const int b = std::max(lines[i - 1].second, lines[i].second);
      FailAtLine(fileName, b, "the frequency of line " + std::to_string(a) + " is given again");
    }
    result.push_back(lines[i].first);
  }
  return result;
}

std::vector<DriveLine> ReadDriveLinesFile(const std::filesystem::path& path) {
  return ParseDriveLinesText(ReadTextFile(path, MaxCsvBytes), path.string());
}

void WriteDriveLinesFile(const std::filesystem::path& path, const std::vector<DriveLine>& lines) {
  FileWriter writer(path);
  writer.Write("frequency_MHz, amplitude_V, phase_deg\r\n");
  char buffer[128];
  for (const DriveLine& line : lines) {
    std::snprintf(buffer, sizeof buffer, "%.17g, %.17g, %.17g\r\n", line.FrequencyMHz,
                  std::abs(line.PhasorV), std::arg(line.PhasorV) * 180.0 / std::numbers::pi);
    writer.Write(buffer);
  }
  writer.Commit();
}

}  // namespace lumetra::emission
