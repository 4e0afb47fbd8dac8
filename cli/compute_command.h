// lumetra-cli compute: the Compute button of the Computation page, from a script.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

int RunCompute(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
