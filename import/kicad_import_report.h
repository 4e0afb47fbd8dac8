// The import's account of what it did, as text for a terminal or a dialog.
#pragma once

#include <string>

#include "import/kicad_import.h"

namespace lumetra {

// Several lines, each ending in a newline: board and layer, the grid with its
// rule, the charge density, the environment, a table of the nets (tracks, pads,
// KiCad's length and the layout's, segments, pieces), the totals of segments and
// unknowns, then the warnings, each starting "Warning: ".
std::string FormatImportReport(const KicadImportReport& report, double maxFrequencyMHz,
                               double cellsPerWavelength);

}  // namespace lumetra
