// Surface integrals of the free-space Green's function e^(-jkR)/R over a flat
// rectangle: the building blocks of every interaction integral of the fill.
//
// Lengths in metres, k in rad/m; the result has the unit of a length (m^2 / m).
// Time convention e^(+jwt): a wave travelling a distance R carries e^(-jkR).
#pragma once

#include "solver/complex_arithmetic.h"

namespace lumetra {

// The integral over the rectangle wx by wy centred at (xc, yc) in a plane, seen from
// (xo, yo) at the distance z from that plane. Far from the cell (k*R0 >= 1, R0 the
// distance to the centre) four samples at the quarter points suffice; near it an
// 8 x 8 midpoint rule resolves the 1/R growth. Neither rule may be used at an
// observer inside the cell's own plane and area: that is what SelfCellIntegral is for.
Complex CellIntegral(double k, double xc, double yc, double wx, double wy, double xo, double yo,
                     double z);

// The two rules of CellIntegral by themselves, for callers that have already
// chosen: UsesFourPointRule tells which one CellIntegral takes.
bool UsesFourPointRule(double k, double xc, double yc, double xo, double yo, double z);
Complex FourPointCellIntegral(double k, double xc, double yc, double wx, double wy, double xo,
                              double yo, double z);
Complex MidpointCellIntegral(double k, double xc, double yc, double wx, double wy, double xo,
                             double yo, double z);

// The integral over [0, b] x [0, a] seen from its corner (0, 0) in its own plane.
// In polar coordinates about the corner the radial integral of e^(-jkr) is closed
// form, so the 1/R singularity disappears; the angle is stepped by pi/1000. A cell
// seen from its own centre is 4 * SelfCellIntegral(dx/2, dy/2); a rectangle seen from
// the midpoint of one side is 2 * SelfCellIntegral(extent away from it, half its length).
Complex SelfCellIntegral(double k, double b, double a);

// The same integral to about 1e-12 relative for any aspect ratio. The static part
// int int 1/R is closed form, b asinh(a/b) + a asinh(b/a); the bounded rest,
// (e^(-jk rho) - 1 + jk rho) / (-jk) along each ray, is summed by Gauss-Legendre on
// either side of the diagonal, the side facing the long edge in pieces that double
// in angle. The stepped sum above errs by 0.3 % on a 4:1 rectangle and 1.5 % (real
// part) to 6 % (imaginary part) at 20:1, the shape of a ground point's vertical strip
// seen along its depth; the high-accuracy fill takes this one.
Complex AccurateSelfCellIntegral(double k, double b, double a);

}  // namespace lumetra
