// Strips one cell wide over a ground plane: Standard accuracy takes their current
// and charge as uniform across the width, so the strip acts like a round wire of
// radius about 0.18 w instead of the w/4 of a real strip, whose current crowds to
// its edges. Its characteristic impedance and loop inductance come out high; the
// user is told once per run, after the checks. High accuracy gives such strips the
// edge-singular distribution and needs no warning.
#pragma once

#include "model/project.h"

namespace lumetra {

inline constexpr const char* NarrowStripWarning =
    "Warning: Some traces are only one cell wide. With Standard accuracy their current and "
    "charge are taken as uniform across the width, so characteristic impedance and loop "
    "inductance come out about 8 to 16 % high.\r\rFor impedance or inductance results choose "
    "High accuracy (Options, \"Solver accuracy\"; --accuracy high on the command line) or use "
    "3 or more cells across the traces.";

// A segment longer than one cell along one direction and one cell across the
// other; a single square cell (a pad, a corner) is no strip.
bool HasOneCellWideStrip(const Project& project);

}  // namespace lumetra
