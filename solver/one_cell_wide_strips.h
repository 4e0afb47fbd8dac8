// Which cells of a layout belong to strips one cell wide, whose current and charge
// High accuracy spreads across the width with the edge-singular distribution of a
// thin flat strip (strip_cell_integral.h) instead of uniformly.
//
// A charge cell is part of a strip along x when current elements join it only along
// x (Jx elements, no Jy element), along y likewise; a cell joined along both axes
// (a corner, a junction, a wide trace) or along none (an isolated cell) stays
// uniform. A current element is one cell wide when both its charge cells belong to
// a strip along its own direction.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/element_lists.h"
#include "solver/strip_cell_integral.h"

namespace lumetra {

enum class StripAxis : std::uint8_t { None, X, Y };

struct OneCellWideStrips {
  std::vector<StripAxis> Charges;           // per charge cell (0-based)
  std::vector<std::uint8_t> Jx, Jy;         // 1: the element is one cell wide
  bool Any = false;                         // some charge cell lies on a strip

  bool ChargeOnStrip(std::int32_t q) const {
    return !Charges.empty() && Charges[static_cast<std::size_t>(q)] != StripAxis::None;
  }
  bool ElementOnStrip(bool alongX, std::int32_t n) const {
    const std::vector<std::uint8_t>& flags = alongX ? Jx : Jy;
    return !flags.empty() && flags[static_cast<std::size_t>(n)] != 0;
  }
};

OneCellWideStrips FindOneCellWideStrips(const ElementLists& elements);

// The length along the strip and the width across it of a cell of the given size,
// with the observer's offset from the cell centre turned into (along, across).
struct StripFrame {
  double Length, Width, Along, Across;
};
inline StripFrame StripFrameOf(bool alongX, double dx, double dy, double ox, double oy) {
  return alongX ? StripFrame{dx, dy, ox, oy} : StripFrame{dy, dx, oy, ox};
}

// The integral over a charge cell on a strip (its axis from Charges) seen from
// (xo, yo), at the plane distance of the memo.
Complex StripChargeIntegral(const ChargeCell& cell, StripAxis axis, double xo, double yo,
                            StripIntegralCache& cache);
// The integral over a current element one cell wide seen from (xo, yo).
Complex StripCurrentIntegral(const CurrentCell& element, bool alongX, double xo, double yo,
                             StripIntegralCache& cache);

// Whether the symmetric fill of a same-direction block still holds: every charge
// cell and every element of the direction must have the same distribution.
bool StripsKeepSymmetry(const OneCellWideStrips& strips, bool alongX);

}  // namespace lumetra
