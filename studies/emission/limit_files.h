// Finding the limit lines that ship with the program.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumetra::emission {

// The names of the shipped limit files (without ".csv"), e.g. "cispr32-b-3m".
std::vector<std::string> ShippedLimitNames();

// The directories searched for limit files, first match wins:
//   1. $LUMETRA_DATA/limits, when the environment variable is set;
//   2. ../share/lumetra/limits beside the running executable (an installed program);
//   3. data/limits of the source tree the program was built from.
std::vector<std::filesystem::path> LimitSearchDirectories();

// The path of the limit file <name>.csv in the first directory that holds it.
// The name may contain only letters, digits, '-', '_' and '.', without "..".
// Throws FileError naming the directories searched when none holds the file.
std::filesystem::path LimitFilePath(const std::string& name);

}  // namespace lumetra::emission
