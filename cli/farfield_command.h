// lumetra-cli farfield: the far field of the last computation's current files,
// recomputed for every frequency in them (the "Far-field parameters" dialog).
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

// farfield PATH.PRO [--theta START:STOP:STEP] [--phi START:STOP:STEP]
int RunFarField(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
