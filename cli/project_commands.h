// lumetra-cli commands on project files: new, save, connect and info.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

int RunNew(Arguments& args, std::ostream& out);
int RunSave(Arguments& args, std::ostream& out);
int RunConnect(Arguments& args, std::ostream& out);
int RunInfo(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
