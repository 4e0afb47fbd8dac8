// The frequency list of the Computation page as a text file: one frequency in MHz
// per line, kept as typed (the computation converts and checks them).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumetra {

// The name a saved list gets: the chosen name with the extension ".TXT".
std::filesystem::path FrequencyListFileName(const std::filesystem::path& chosen);

// The lines of a list file; throws FileError when it cannot be read.
std::vector<std::string> ReadFrequencyListFile(const std::filesystem::path& path);
// Writes the lines with CR LF ends; throws FileError.
void WriteFrequencyListFile(const std::filesystem::path& path,
                            const std::vector<std::string>& lines);

}  // namespace lumetra
