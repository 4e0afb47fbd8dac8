#include "studies/emission/named_limits.h"

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "studies/emission/limit_files.h"
#include "studies/emission/source_signal.h"

namespace lumetra::emission {

namespace {

// The shipped tables of one class: below 1 GHz at each distance the standard
// lists, and the average table above 1 GHz.
struct LimitClass {
  const char* Name;
  std::vector<std::pair<double, const char*>> BelowOneGigahertz;  // distance, file
  const char* AboveOneGigahertz;
};

const std::vector<LimitClass>& LimitClasses() {
  static const std::vector<LimitClass> classes = {
      {"cispr32-a", {{10.0, "cispr32-a-10m"}, {3.0, "cispr32-a-3m"}}, "cispr32-a-3m-average"},
      {"cispr32-b", {{10.0, "cispr32-b-10m"}, {3.0, "cispr32-b-3m"}}, "cispr32-b-3m-average"},
      {"fcc15-a", {{10.0, "fcc15-a-10m"}}, "fcc15-a-10m-average"},
      {"fcc15-b", {{3.0, "fcc15-b-3m"}}, "fcc15-b-3m-average"},
  };
  return classes;
}

constexpr double OneGigahertzMHz = 1000.0;

// The table at the distance nearest d on a logarithmic scale (3 m for 5 m, 10 m
// for 6 m): the conversion then stays smallest.
const char* NearestTable(const LimitClass& limitClass, double distanceM) {
  const char* best = limitClass.BelowOneGigahertz.front().second;
  double bestGap = INFINITY;
  for (const auto& [tableDistance, file] : limitClass.BelowOneGigahertz) {
    const double gap = std::fabs(std::log(tableDistance / distanceM));
    if (gap < bestGap) {
      bestGap = gap;
      best = file;
    }
  }
  return best;
}

void AppendSentence(std::string& note, const std::string& sentence) {
  if (sentence.empty()) return;
  if (!note.empty()) note += ". ";
  note += sentence;
}

ResolvedLimit ClassLimit(const LimitClass& limitClass, double distanceM, double stopMHz) {
  ResolvedLimit resolved;
  const LimitLine below = ReadLimitFile(LimitFilePath(NearestTable(limitClass, distanceM)));
  CorrectedLimit corrected = DistanceCorrectedLimit(below, distanceM);
  resolved.Limit = corrected.Limit;
  resolved.Limit.Name = limitClass.Name;
  resolved.Note = "Limit " + std::string(limitClass.Name) + ": " + below.Name + " (" +
                  DetectorName(below.Detect) + ")";
  if (stopMHz > OneGigahertzMHz) {
    const LimitLine above = ReadLimitFile(LimitFilePath(limitClass.AboveOneGigahertz));
    resolved.Note += " and above 1 GHz " + above.Name + " (" + DetectorName(above.Detect) +
                     "; a harmonic reads alike on every detector)";
    AppendSentence(resolved.Note, corrected.Note);
    corrected = DistanceCorrectedLimit(above, distanceM);
    for (const LimitSegment& segment : corrected.Limit.Segments)
      if (segment.StartMHz >= resolved.Limit.Segments.back().StopMHz)
        resolved.Limit.Segments.push_back(segment);
  }
  AppendSentence(resolved.Note, corrected.Note);
  return resolved;
}

}  // namespace

std::vector<std::string> LimitClassNames() {
  std::vector<std::string> names;
  for (const LimitClass& limitClass : LimitClasses()) names.push_back(limitClass.Name);
  return names;
}

ResolvedLimit ResolveLimit(const std::string& nameOrFile, double distanceM, double stopMHz) {
  ValidateStopFrequency(stopMHz);
  ResolvedLimit resolved;
  bool isClass = false;
  for (const LimitClass& limitClass : LimitClasses())
    if (nameOrFile == limitClass.Name) {
      resolved = ClassLimit(limitClass, distanceM, stopMHz);
      isClass = true;
    }
  if (!isClass) {
    std::error_code error;
    if (!std::filesystem::exists(nameOrFile, error)) {
      std::string classes;
      for (const LimitClass& limitClass : LimitClasses())
        classes += std::string(limitClass.Name) + ", ";
      throw std::invalid_argument("Error: Unknown limit \"" + nameOrFile + "\": use " + classes +
                                  "or the path of a limit file");
    }
    const LimitLine line = ReadLimitFile(nameOrFile);
    const CorrectedLimit corrected = DistanceCorrectedLimit(line, distanceM);
    resolved.Limit = corrected.Limit;
    resolved.Note = corrected.Note;
  }
  CheckLimitCovers(resolved.Limit, stopMHz);
  return resolved;
}

}  // namespace lumetra::emission
