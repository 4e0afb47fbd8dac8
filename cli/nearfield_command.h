// lumetra-cli nearfield: the near field of the last computation's current files on
// a grid of points, for every frequency in them (the "Near-field parameters"
// dialog), into the project's .NFE and .NFH.
#pragma once

#include <iosfwd>

#include "cli/arguments.h"

namespace lumetra::cli {

// nearfield PATH.PRO [--x START:STOP:STEP] [--y ...] [--z ...] [--eps-eff EPS]
// Grid in mm (default 0:0:10 on each axis, one point at the origin). EPS is the
// relative effective permittivity of the computation that wrote the currents
// (default: the project's (1 + eps_r) / 2, eps_r its dielectric constant with a
// ground plane, else 1).
int RunNearField(Arguments& args, std::ostream& out);

}  // namespace lumetra::cli
