// Radiated-emission limit lines: the field strength a product may radiate,
// in dBuV/m, against frequency, at a stated measurement distance and detector.
//
// File form (CSV, '#' comment lines and blank lines allowed, CR LF or LF):
//   # where the values come from
//   distance_m, 3
//   detector, quasi-peak                 (quasi-peak, average or peak)
//   start_MHz, stop_MHz, limit_dBuV_m, limit_end_dBuV_m
//   30, 230, 40
//   230, 1000, 47
// A row with a fourth value slopes linearly in log f from the third value at
// start to the fourth at stop. Rows ascend and do not overlap; two rows may share
// an edge, where the lower limit applies (the published tables say so).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::emission {

enum class Detector { QuasiPeak, Average, Peak };

struct LimitSegment {
  double StartMHz = 0.0, StopMHz = 0.0;
  double StartDbuvM = 0.0, StopDbuvM = 0.0;  // equal for a flat segment
};

struct LimitLine {
  std::string Name;          // the file's stem, e.g. "cispr32-b-3m"
  double DistanceM = 0.0;    // measurement distance of the values
  Detector Detect = Detector::QuasiPeak;
  std::vector<LimitSegment> Segments;
};

// "quasi-peak", "average", "peak".
const char* DetectorName(Detector detector);

// Parses a limit file's text; fileName names it in messages and its stem becomes
// the Name. Throws FileError naming the file and the line for a malformed line, a
// missing or repeated distance or detector, a non-positive or non-finite value,
// a row whose stop is not above its start, rows that overlap or descend, a limit
// outside -50..200 dBuV/m, or a file without rows.
LimitLine ParseLimitText(std::string_view text, const std::string& fileName);

// Reads and parses a limit file (size-capped); FileError names the file.
LimitLine ReadLimitFile(const std::filesystem::path& path);

// The limit at a frequency, dBuV/m; nullopt outside every segment. Exactly at an
// edge shared by two segments the lower of the two values applies.
std::optional<double> LimitAt(const LimitLine& limit, double frequencyMHz);

// Throws std::invalid_argument when the limit line does not reach up to stopMHz
// (nor down to startMHz when given), naming the limit and its range.
void CheckLimitCovers(const LimitLine& limit, double stopMHz, double startMHz = 0.0);

// A limit moved to another distance by the inverse-distance law of the far field:
// every value changes by 20 log10(d_limit / d). Note says what was done, e.g.
// "Limit cispr32-b-3m converted from 3 m to 10 m: 20 log10(3/10) = -10.46 dB
// (field strength inversely proportional to distance)"; empty when d equals the
// limit's distance.
struct CorrectedLimit {
  LimitLine Limit;
  std::string Note;
};
CorrectedLimit DistanceCorrectedLimit(const LimitLine& limit, double distanceM);

}  // namespace lumetra::emission
