// Runs the lumetra-cli of this build as a script would, capturing what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/support/temp_dir.h"

namespace lumetra::testing {

struct CliRun {
  int exitCode;
  std::string output;  // standard output and error, interleaved
};

// The arguments are passed through the shell, so paths with blanks need quotes.
inline CliRun Cli(const TempDir& dir, const std::string& arguments) {
  const auto log = dir / "cli-output.log";
  const std::string command = std::string(LUMETRA_CLI) + " " + arguments + " > '" + log.string() +
                              "' 2>&1";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(log)};
}

// Copies an example project's directory (examples/name) into `to`.
inline void CopyExample(const std::string& name, const std::filesystem::path& to) {
  std::filesystem::create_directories(to);
  std::filesystem::copy(std::filesystem::path(LUMETRA_EXAMPLES) / name, to,
                        std::filesystem::copy_options::recursive);
}
inline void CopyExample(const std::string& name, const TempDir& dir) { CopyExample(name, dir.path()); }

}  // namespace lumetra::testing
