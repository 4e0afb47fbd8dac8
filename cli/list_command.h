// lumetra-cli list: one frequency block of a result file as the list windows show
// it, printed in their plain-text print layout.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

// list PATH.PRO jx|jy|jz|rad|nfe|nfh [--freq F]
// A file of one block is listed whatever F says. With several blocks, F (MHz)
// picks one; without F the first is listed, as the frequency dialog preselects it,
// and the frequencies on offer are named on the error stream.
// Notes about the choice of the frequency go to std::cerr.
int RunList(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
