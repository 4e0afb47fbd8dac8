// The plot utility's view of a Touchstone file (.sNp): one matrix entry Xij
// over frequency as four curves, 20 log10 |Xij| (dB), the real part, the
// magnitude and the phase in degrees. S is plain; Z and Y come in ohm and
// siemens, so their dB values are dB ohm and dB siemens.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fields/plot_cuts.h"
#include "studies/network/touchstone.h"

namespace lumetra {

// "S11", "S21", ..., column by column (the driven port j outer), so that the
// reflection and the transmission from port 1 come first.
struct TouchstoneEntry {
  std::size_t Row = 0, Column = 0;  // 0-based i (answering port) and j (driven port)
  std::string Name;                 // "S21"
};
std::vector<TouchstoneEntry> TouchstoneEntries(const network::TouchstoneData& data);

// 20 log10 |x|; a zero magnitude, which has no level, is clamped to -400 dB so
// that the curve stays drawable.
double MagnitudeDb(double magnitude);

// Series 1..4: dB, real part, magnitude, phase (degrees, -180..180) of entry
// (row, column) against the frequency in MHz; titled "|S21| of NAME".
PlotCurves TouchstoneCurves(const network::TouchstoneData& data, const TouchstoneEntry& entry,
                            const std::string& fileName);

}  // namespace lumetra
