// The text listing printed with the layout: the board and every record of the
// project, one line each, so a printout identifies exactly what was computed.
#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace lumetra {

// The lines in printing order: project, board size, then the sections "Voltage
// sources:", "Impedance elements:", "Segments:" and "Ground points:". Every
// section keeps its heading and the blank line after it when it is empty. Reals
// are in the 12-character exponent form (" 1.000E+0002"), numbers of records are
// right-aligned in four characters.
std::vector<std::string> ProjectListingLines(const Project& project);

}  // namespace lumetra
