// Hand-made emission results for the chart and report tests: levels chosen so
// that some lines fail, some pass exactly at the limit and some lie outside it.
#pragma once

#include <initializer_list>
#include <utility>

#include "studies/emission/emission_run.h"
#include "studies/emission/limit_line.h"

namespace lumetra::emission::testing {

// CISPR 32 class B at 3 m as the shipped file has it: 40 dBuV/m to 230 MHz, 47 above.
inline LimitLine ClassB3m() {
  return ParseLimitText("distance_m, 3\r\ndetector, quasi-peak\r\n30, 230, 40\r\n230, 1000, 47\r\n",
                        "cispr32-b-3m.csv");
}

// A result at distanceM whose lines carry the given (frequency, level) pairs,
// compared with limit as it stands (no distance conversion): limit, margin and
// the worst line filled in as the run fills them.
inline EmissionResult HandMadeResult(const LimitLine* limit,
                                     std::initializer_list<std::pair<double, double>> lines,
                                     double distanceM = 3.0, const char* site = "sac") {
  EmissionResult result;
  result.SiteName = site;
  result.DistanceM = distanceM;
  if (limit) result.LimitName = limit->Name;
  for (const auto& [frequency, level] : lines) {
    EmissionLine line;
    line.FrequencyMHz = frequency;
    line.LevelDbuvM = level;
    line.Where.HeightM = 1.25;
    line.Where.PhiDeg = 45.0;
    line.Where.Pol = Polarisation::Horizontal;
    line.LargestSource = 1;
    if (limit) {
      line.LimitDbuvM = LimitAt(*limit, frequency);
      if (line.LimitDbuvM) line.MarginDb = *line.LimitDbuvM - level;
    }
    if (line.MarginDb && (!result.WorstMarginDb || *line.MarginDb < *result.WorstMarginDb)) {
      result.WorstMarginDb = line.MarginDb;
      result.WorstLine = result.Lines.size();
    }
    result.Lines.push_back(line);
  }
  return result;
}

}  // namespace lumetra::emission::testing
