// The limit a run is compared with, by the name of a standard's class or as a
// user's own limit file.
//
// A class name ("cispr32-b") stands for the tables of that class a test
// laboratory applies together: the quasi-peak limit up to 1 GHz at the distance
// the standard gives for d (or the nearest), and above 1 GHz the average limit. A
// harmonic of a clock is a continuous wave, which the average, the peak and the
// quasi-peak detector all read at the same level, so the average limit (the lower
// of the two above 1 GHz) is the one it has to meet. Each table is converted to
// the run's distance d on its own, so the joined line holds values at d.
#pragma once

#include <string>
#include <vector>

#include "studies/emission/limit_line.h"

namespace lumetra::emission {

// "cispr32-a", "cispr32-b", "fcc15-a", "fcc15-b".
std::vector<std::string> LimitClassNames();

struct ResolvedLimit {
  LimitLine Limit;   // values at the run's distance
  std::string Note;  // the tables used and the distance conversions, one sentence each
};

// A class name, or the path of a limit file (anything that is not a class name).
// Refuses a line that does not reach stopMHz. Throws FileError for an unreadable
// or malformed file, std::invalid_argument for a bad distance or stop frequency.
ResolvedLimit ResolveLimit(const std::string& nameOrFile, double distanceM, double stopMHz);

}  // namespace lumetra::emission
