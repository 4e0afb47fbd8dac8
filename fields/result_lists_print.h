// The plain-text page a result list prints: the project, the title, the header
// and one line per row, each cell right-aligned in about eight characters.
#pragma once

#include <filesystem>
#include <string>

#include "fields/result_lists.h"

namespace lumetra {

// The lines sent to the printer, each ended by "\n":
//   "Project: <file name without directory>", " ", the title, " ",
//   the header texts each followed by two blanks, then one blank; " ",
//   then per row its cells, each preceded by blanks by its length (1 to 3
//   characters: 7; 4 to 9: 10 minus the length; longer: 1; empty: none), and one
//   blank.
// Column 0 is left out where it holds the running number; the near-field lists,
// whose column 0 is the x coordinate, print it.
std::string FormatListPrintout(const ResultList& list, const std::filesystem::path& projectFile);

}  // namespace lumetra
