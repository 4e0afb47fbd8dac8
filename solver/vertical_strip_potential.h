// The vector potential that a ground point's vertical current produces along
// another ground point's vertical path.
//
// A vertical strip of width W from the trace plane down to the ground plane
// (depth 0..h) and its image (depth h..2h) carry the same current and together
// form one strip 2h tall. Tested only at the top end of the path (depth 0) the
// potential is about half what it is half-way down, so the loop inductance of a
// grounded trace comes out far too low when h is not small against the trace. The
// sound test averages the potential over the path's depth 0..h; by the mirror
// symmetry of the 2h strip this is also its average over the whole 2h.
//
// Integrals of e^(-jkR)/R in metres (like CellIntegral); the caller multiplies by h
// and the vector-potential factor.
#pragma once

#include "solver/cell_integral_cache.h"
#include "solver/complex_arithmetic.h"

namespace lumetra {

// Gauss-Legendre points over the depth used by the fill: enough for 0.1 % on the
// loop inductance of a grounded trace (the convergence study in the tests).
inline constexpr int DepthTestPoints = 6;

// The geometry of one pair of vertical paths, in the source strip's own plane.
struct VerticalStripPair {
  double SourceAlong = 0.0;    // centre of the source strip along its edge, m
  double ObserverAlong = 0.0;  // the testing path's coordinate along that edge, m
  double Perpendicular = 0.0;  // distance of the testing path from the source plane, m
  double Width = 0.0;          // of the source strip along its edge, m
  double Height = 0.0;         // h, m
};

// The source strip with its image, seen from the testing path and averaged over
// depth 0..h by points Gauss-Legendre points (1 to 16). The observer must not lie
// in the source strip itself; use SelfDepthAveragedPotential for that.
Complex DepthAveragedPotential(double k, const VerticalStripPair& pair, int points);

// A strip with its image seen from its own centre line, averaged the same way:
// at depth t the 2h strip splits into four rectangles that meet at the observer.
Complex SelfDepthAveragedPotential(SelfIntegralMemo& self, double width, double height,
                                   int points);

// The same average for a strip whose current follows the edge-singular
// distribution of a thin flat strip across its width (strip_cell_integral.h), the
// High accuracy model of a ground point's path: a post that acts like a round wire
// of radius W/4. Any observer, the strip's own centre line included.
Complex EdgeSingularDepthAveragedPotential(double k, const VerticalStripPair& pair, int points);

}  // namespace lumetra
