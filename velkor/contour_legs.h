// The part of the radial integration that runs off the real axis. Between 0 and
// er k0 the real axis carries the branch points of the vertical wavenumbers (k0, and
// sqrt(ee) k0 of the asymptote) and the surface-wave poles of 1/(Te Tm), so the path
// detours through the upper half plane at height 0.1 k0 on three straight legs:
//   rise  beta = 0.1 k0 (1 + j) t                         10 points
//   flat  beta = 0.1 k0 (1 + j) + (er - 0.1) k0 t         20 points
//   drop  beta = er k0 + 0.1 j k0 (1 - t)                 10 points
// each sampled by the midpoint rule in t on [0, 1] and each with the full-circle
// trapezoidal rule in alpha.
#pragma once

#include "velkor/angle_grid.h"
#include "velkor/constants.h"
#include "velkor/coupling.h"

namespace velkor {

// beta(t) = start + span t for t in [0, 1].
struct StraightLeg {
  Complex start;
  Complex span;
  int points;
};

StraightLeg rise_leg(const Slab& slab);
StraightLeg flat_leg(const Slab& slab);
StraightLeg drop_leg(const Slab& slab);

// The leg's share of I = -(1/(4 pi^2)) integral of integral of int(beta, alpha) beta
// dalpha dbeta, with dbeta = span dt. `grid` must be the full-circle grid.
Complex leg_integral(const StraightLeg& leg, Coupling coupling, const ElementPair& pair,
                     const Slab& slab, const AngleGrid& grid);

}  // namespace velkor
