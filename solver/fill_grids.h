// The offset grids of one fill: charge cells seen from the observation points, and
// the current elements of each direction seen from the centres of the elements
// they are tested on (the vector-potential integrals of the same-direction blocks).
#pragma once

#include "solver/computation_control.h"
#include "solver/fill_context.h"

namespace lumetra {

// Groups the context's cells by size, plans a grid for every group where one pays,
// and computes the values the fill will read, on worker threads while the calling
// thread polls. Cells on one-cell-wide strips keep their own integrals. False when
// the user aborted.
bool FillOffsetGrids(FillContext& context, int workers, ComputationControl& control);

}  // namespace lumetra
