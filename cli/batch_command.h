// lumetra-cli batch: a night of computations from a job file (cli/job_file.h), each
// line run as "lumetra-cli compute" runs it.
//
// The whole file is read and every line's options checked before the first
// computation, so a typing error in the last line cannot waste the night: it is
// reported with the file and the line and nothing runs (exit 2). The jobs then run
// in order, each announced before ("--> <project>") and after ("Done <project>");
// a failed job does not stop the ones after it. Exit 0 when every job succeeded,
// 1 when any reported an error.
//
// Relative paths in the file (the projects, a --freq-list) are taken relative to
// the job file's directory, so a job file can travel with its projects.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

int RunBatch(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
