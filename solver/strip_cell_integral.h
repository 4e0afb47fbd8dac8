// The integral of the free-space Green's function e^(-jkR)/R over a cell of a strip
// one cell wide, whose current and charge follow the edge-singular distribution of
// a thin flat strip across its width instead of a uniform one.
//
// Across a strip of half width a the density is f(s) = 1 / (pi sqrt(a^2 - s^2)),
// normalised to 1: the static equilibrium of a charged flat strip, whose potential
// is constant across the strip and whose equivalent round wire has the radius w/4.
// The cell runs over x in [-L/2, L/2] along the strip and s in [-a, a] across it.
// The value is w * integral of f(s) integral of G dx ds, so that it takes the place
// of the uniform cell's integral of G over the area for the same mean density.
//
// Lengths in metres, k in rad/m, time convention e^(+jwt) as in cell_integrals.h.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/complex_arithmetic.h"

namespace lumetra {

// Seen from the observer at (u along, v across) from the cell centre and at the
// distance z from the cell's plane. Any observer, the cell's own centre included:
// the 1/R part is integrated along the strip in closed form and its logarithm
// across it exactly against f (so the cell seen from its own centre line is the
// wire of radius w/4), the bounded rest by Gauss rules. Observers further than
// four cell extents from the centre take two by two samples.
Complex StripCellIntegral(double k, double length, double width, double u, double v, double z);

// integral of f(s) ln |s - (v + j z)| ds over [-a, a]: ln(a/2) on the strip,
// ln |v + j z| far from it.
double StripLogPotential(double halfWidth, double v, double z);

// Memo of StripCellIntegral for one wavenumber and one plane distance, keyed by the
// cell's size and the absolute offsets (the value is even in u and v), rounded to
// 1e-15 m; the value is that of the rounded key, whichever call came first.
// Not thread safe: every worker owns its memos.
class StripIntegralCache {
public:
  StripIntegralCache(double k, double z) : k_(k), z_(z), slots_(1024) {}
  Complex Integral(double length, double width, double u, double v);

private:
  struct Slot {
    std::int64_t L, W, U, V;  // rounded size and |offset|
    bool Used;
    Complex Value;
  };
  void Grow();

  double k_, z_;
  std::vector<Slot> slots_;  // open addressing, at most half full
  std::size_t used_ = 0;
};

}  // namespace lumetra
