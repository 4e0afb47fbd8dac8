// lumetra-cli emission: the radiated-emission verdict of a board, from a script.
// Exit 0 when every line is under the limit, 3 when the board fails, 1 when the
// run reported an error, 2 for a malformed command line or bad input (nothing is
// computed or written then).
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

inline constexpr int ExitLimitFailed = 3;

int RunEmissionCommand(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
