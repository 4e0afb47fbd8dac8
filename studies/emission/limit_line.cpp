#include "studies/emission/limit_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "model/file_io.h"
#include "studies/emission/csv_lines.h"

namespace lumetra::emission {

namespace {

constexpr double LowestLimitDbuvM = -50.0;
constexpr double HighestLimitDbuvM = 200.0;
constexpr double LongestDistanceM = 1000.0;

// Edges of neighbouring segments that differ by less than this (relative) meet.
constexpr double EdgeTolerance = 1e-9;

std::string Decimal(double value, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", digits, value);
  return buffer;
}

std::string Shortest(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

bool AtOrBelow(double a, double b) { return a <= b + EdgeTolerance * std::abs(b); }

double LimitFromRow(const CsvRecord& r, std::size_t i, const std::string& fileName) {
  double value = 0.0;
  if (!ParseReal(r.Fields[i], value) || value < LowestLimitDbuvM || value > HighestLimitDbuvM)
    FailAtLine(fileName, r.LineNo,
               "the limit \"" + r.Fields[i] + "\" is not a number of dBuV/m from -50 to 200");
  return value;
}

double SegmentValue(const LimitSegment& s, double f) {
  if (s.StartDbuvM == s.StopDbuvM) return s.StartDbuvM;
  const double x = std::log(f / s.StartMHz) / std::log(s.StopMHz / s.StartMHz);
  return s.StartDbuvM + std::clamp(x, 0.0, 1.0) * (s.StopDbuvM - s.StartDbuvM);
}

}  // namespace

const char* DetectorName(Detector detector) {
  switch (detector) {
    case Detector::QuasiPeak: return "quasi-peak";
    case Detector::Average: return "average";
    case Detector::Peak: return "peak";
  }
  return "?";
}

LimitLine ParseLimitText(std::string_view text, const std::string& fileName) {
  LimitLine limit;
  limit.Name = std::filesystem::path(fileName).stem().string();
  bool haveDistance = false, haveDetector = false, haveHeader = false;
  for (const CsvRecord& r : SplitCsv(text, fileName)) {
    const std::string& key = r.Fields.front();
    if (key == "distance_m") {
      if (haveDistance) FailAtLine(fileName, r.LineNo, "the distance is given twice");
      if (r.Fields.size() != 2 || !ParseReal(r.Fields[1], limit.DistanceM) || limit.DistanceM <= 0.0 ||
          limit.DistanceM > LongestDistanceM)
        FailAtLine(fileName, r.LineNo, "expected \"distance_m, <metres from above 0 to 1000>\"");
      haveDistance = true;
    } else if (key == "detector") {
      if (haveDetector) FailAtLine(fileName, r.LineNo, "the detector is given twice");
      const std::string name = r.Fields.size() == 2 ? r.Fields[1] : "";
      if (name == "quasi-peak") limit.Detect = Detector::QuasiPeak;
      else if (name == "average") limit.Detect = Detector::Average;
      else if (name == "peak") limit.Detect = Detector::Peak;
      else FailAtLine(fileName, r.LineNo, "expected \"detector, quasi-peak\", \"detector, average\" or \"detector, peak\"");
      haveDetector = true;
    } else if (key == "start_MHz") {
      if (haveHeader || !limit.Segments.empty())
        FailAtLine(fileName, r.LineNo, "the column header must come once, before the rows");
      haveHeader = true;
    } else {
      if (r.Fields.size() < 3 || r.Fields.size() > 4)
        FailAtLine(fileName, r.LineNo,
                   "expected \"start_MHz, stop_MHz, limit_dBuV_m\" with an optional limit_end_dBuV_m");
      LimitSegment s;
      if (!ParseReal(r.Fields[0], s.StartMHz) || s.StartMHz <= 0.0)
        FailAtLine(fileName, r.LineNo, "the start \"" + r.Fields[0] + "\" is not a positive number of MHz");
      if (!ParseReal(r.Fields[1], s.StopMHz) || s.StopMHz <= s.StartMHz)
        FailAtLine(fileName, r.LineNo, "the stop \"" + r.Fields[1] + "\" is not a number of MHz above the start");
      s.StartDbuvM = LimitFromRow(r, 2, fileName);
      s.StopDbuvM = r.Fields.size() == 4 ? LimitFromRow(r, 3, fileName) : s.StartDbuvM;
      if (!limit.Segments.empty() && !AtOrBelow(limit.Segments.back().StopMHz, s.StartMHz))
        FailAtLine(fileName, r.LineNo, "the row starts below the stop of the row before; rows must ascend without overlap");
      limit.Segments.push_back(s);
    }
  }
  if (!haveDistance) throw FileError("Error: " + fileName + ": the file gives no \"distance_m\" line");
  if (!haveDetector) throw FileError("Error: " + fileName + ": the file gives no \"detector\" line");
  if (limit.Segments.empty()) throw FileError("Error: " + fileName + ": the file holds no limit row");
  return limit;
}

LimitLine ReadLimitFile(const std::filesystem::path& path) {
  return ParseLimitText(ReadTextFile(path, MaxCsvBytes), path.string());
}

std::optional<double> LimitAt(const LimitLine& limit, double frequencyMHz) {
  if (!std::isfinite(frequencyMHz)) return std::nullopt;
  std::optional<double> lowest;
  for (const LimitSegment& s : limit.Segments) {
    if (!AtOrBelow(s.StartMHz, frequencyMHz) || !AtOrBelow(frequencyMHz, s.StopMHz)) continue;
    const double value = SegmentValue(s, frequencyMHz);
    if (!lowest || value < *lowest) lowest = value;
  }
  return lowest;
}

void CheckLimitCovers(const LimitLine& limit, double stopMHz, double startMHz) {
  if (limit.Segments.empty()) throw std::invalid_argument("Error: The limit line " + limit.Name + " is empty");
  const double low = limit.Segments.front().StartMHz;
  const double high = limit.Segments.back().StopMHz;
  if (!AtOrBelow(stopMHz, high) || (startMHz > 0.0 && !AtOrBelow(low, startMHz)))
    throw std::invalid_argument("Error: The limit line " + limit.Name + " covers " + Shortest(low) + " to " +
                                Shortest(high) + " MHz only; the emission run reaches " +
                                Shortest(AtOrBelow(stopMHz, high) ? startMHz : stopMHz) + " MHz");
}

CorrectedLimit DistanceCorrectedLimit(const LimitLine& limit, double distanceM) {
  if (!std::isfinite(distanceM) || distanceM <= 0.0)
    throw std::invalid_argument("Error: The distance for the limit must be a positive number of metres");
  CorrectedLimit result{limit, ""};
  if (distanceM == limit.DistanceM) return result;
  const double deltaDb = 20.0 * std::log10(limit.DistanceM / distanceM);
  for (LimitSegment& s : result.Limit.Segments) {
    s.StartDbuvM += deltaDb;
    s.StopDbuvM += deltaDb;
  }
  result.Limit.DistanceM = distanceM;
  result.Note = "Limit " + limit.Name + " converted from " + Shortest(limit.DistanceM) + " m to " +
                Shortest(distanceM) + " m: 20 log10(" + Shortest(limit.DistanceM) + "/" + Shortest(distanceM) +
                ") = " + Decimal(deltaDb, 2) + " dB (field strength inversely proportional to distance)";
  return result;
}

}  // namespace lumetra::emission
