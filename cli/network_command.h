// lumetra-cli network: the voltage sources as ports, the Y, Z and S matrices over
// the frequencies, written as a Touchstone file.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

// Exit 0 when the file was written; 2 for input refused before anything was
// computed (options, ports, the Computation page's checks), with nothing written;
// 1 when the run stopped or the file could not be written.
int RunNetworkCommand(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
