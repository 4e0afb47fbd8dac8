// The part of the radial integration on the real axis, from er k0 up to krmax. There
// every vertical wavenumber is evanescent, the corrected kernels are purely imaginary
// and the transforms real, so the integrand at alpha + pi is that at alpha with the
// phase conjugated: the full circle equals twice the imaginary part of the half circle
// [0, pi]. The radial samples beta = er k0 + n dkr (n = 0, 1, ... while beta <= krmax)
// all carry weight 1, except for an edge-singular source (ElementPair::edge_singular),
// whose first sample counts 1/2: the trapezoidal rule, second order in dkr.
#pragma once

#include "velkor/angle_grid.h"
#include "velkor/constants.h"
#include "velkor/coupling.h"

namespace velkor {

// The number of radial samples of the tail: 0 when the step is not positive or the
// limit not finite (an empty tail rather than an endless loop).
int tail_sample_count(double er, double k0, double krmax, double dkr);

// The tail's share of I = -(1/(4 pi^2)) integral of integral of int beta dalpha dbeta,
// that is -j Im(S) dkr dalpha / (2 pi^2) with S the half-circle sum of int beta.
// `grid` must be the half-circle grid.
Complex tail_integral(Coupling coupling, const ElementPair& pair, const Slab& slab, double krmax,
                      double dkr, const AngleGrid& grid);

}  // namespace velkor
