// Layouts of parallel traces for the network tests, saved into a temporary folder.
#pragma once

#include <vector>

#include "model/project.h"
#include "studies/computation_settings.h"
#include "tests/support/temp_dir.h"

namespace lumetra::testing {

struct LinesLayout {
  int Lines = 2;
  double LengthMm = 100, WidthMm = 2, SpacingMm = 6;  // centre to centre
  int Cells = 50;                                     // charge cells along each line
  int PortElement = 1;  // the Jx element of each line's (near) port, counted from its start
  bool GroundedEnds = false;  // a ground point at both ends of every line
  bool FarPorts = false;      // a port at the far end too (ports 1, 2 on line 1, ...)
  // A stub down from the far end of line 1 (away from the others), so the layout has Jy
  // elements as well (a coupled Jx/Jy system).
  bool Stub = false;
};

// Lines along x centred on a 300 x 200 mm board. Each line has a port (a 1 V
// source) on its first Jx element; with FarPorts also on its last.
Project ParallelLines(const TempDir& dir, const LinesLayout& layout);

// One frequency, or a linear sweep, without loads, sounds or messages.
ComputationSettings NetworkSettings(double startMHz, double stopMHz = 0, double stepMHz = 0);

}  // namespace lumetra::testing
