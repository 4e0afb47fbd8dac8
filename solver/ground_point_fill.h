// Rows and columns of the ground points: vertical currents from a charge cell of
// the trace down to the ground plane.
//
// A ground point's current runs along a path of three parts, each entering with
// its image in the ground plane:
// - a horizontal half strip from the cell centre to the edge midpoint (xg, yg),
//   dx/2 long and dy wide on an x-edge (current counted along +x), dy/2 long and dx
//   wide on a y-edge (along +y); its image at 2h enters with the opposite sign;
// - a vertical strip at the edge from the trace plane down to the ground plane
//   (depth 0..h) as wide as the edge; its image (depth h..2h) has the same sign;
// - the charge the current takes from the cell, spread over the cell, negative for
//   side +1 and positive for side -1; the charge reaching the ground plane is
//   cancelled by its image.
// The ground point's row tests along the same path: the vector potential at the
// edge midpoint times the half-strip length and times h, and the scalar potential
// difference between the lower end of the path and the cell centre. With High
// accuracy the vertical part is tested by the potential averaged over the depth
// of the path (vertical_strip_potential.h) instead of at its top end.
#pragma once

#include <cstdint>

#include "solver/complex_storage.h"
#include "solver/fill_context.h"

namespace lumetra {

// Where the ground-point entries go. Ground point g (0-based) has column
// XzColumn + g + 1 in Xz (Jx rows) and YzColumn + g + 1 in Yz (Jy rows), row
// ZxRow + g + 1 in Zx (Jx columns) and ZyRow + g + 1 in Zy (Jy columns), and
// row and column ZzOffset + g + 1 in Zz. Absent couplings are null.
struct GroundPointBlocks {
  ComplexMatrix* Xz = nullptr;
  std::int32_t XzColumn = 0;
  ComplexMatrix* Yz = nullptr;
  std::int32_t YzColumn = 0;
  ComplexMatrix* Zx = nullptr;
  std::int32_t ZxRow = 0;
  ComplexMatrix* Zy = nullptr;
  std::int32_t ZyRow = 0;
  ComplexMatrix* Zz = nullptr;
  std::int32_t ZzOffset = 0;
};

// Fills the column of ground point g in Xz and Yz, its row in Zx and Zy, and its
// row in Zz. Needs the free and the mirror charge tables of the context.
void FillGroundPoint(const FillContext& context, const GroundPointBlocks& blocks, std::int32_t g,
                     WorkerScratch& scratch);

}  // namespace lumetra
