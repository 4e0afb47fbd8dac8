// lumetra-cli immunity: the worst voltage a radiated field of the given strength
// puts across every load, over all directions and both polarisations, per
// frequency, with the margin against a threshold.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

inline constexpr int ExitThresholdExceeded = 3;

// Exit 0 when every voltage stays at or below the threshold (or none was given);
// 3 when one exceeds it; 2 for input refused before anything was computed (options,
// no load, an unknown load, a field level that is not positive, the Computation
// page's checks), with nothing written; 1 when the run stopped or a file could not
// be written.
int RunImmunityCommand(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
