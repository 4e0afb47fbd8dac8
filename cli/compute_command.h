// lumetra-cli compute: the Compute button of the Computation page, from a script.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

int RunCompute(Arguments& args, std::ostream& out);

// Throws UsageError when RunCompute would refuse these words (the project path and
// its options) as a malformed command line; opens and computes nothing.
void CheckComputeArguments(Arguments args);

}  // namespace lumetra::cli
