// lumetra-cli commands on KiCad board files: kicad-nets lists what a board holds,
// import-kicad turns chosen nets into a project.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

int RunKicadNets(Arguments& args, std::ostream& out);
int RunImportKicad(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
