// The offset grids of one fill: charge cells seen from the observation points, and
// the current elements of each direction seen from the centres of the elements
// they are tested on (the vector-potential integrals of the same-direction blocks).
#pragma once

#include <vector>

#include "solver/computation_control.h"
#include "solver/fill_context.h"

namespace lumetra {

// Plans the grids of the context's layout (cells on one-cell-wide strips stay with
// their own integrals).
void PlanFillGrids(FillContext& context);

// Marks and computes every grid's needed values on worker threads while the
// calling thread polls. False when the user aborted.
bool ComputeFillGrids(FillContext& context, int workers, ComputationControl& control);

}  // namespace lumetra
