// The moment-method impedance matrix of one frequency point: every coupling
// between current elements (and ground points) through the vector potential of the
// currents and the scalar potential of the charges they deposit, in free space and,
// over a ground plane, with the image currents.
//
// Entry (n, m) of a block is the voltage induced along testing element n by a unit
// surface current density (A/m) on source element m.
#pragma once

#include "solver/cell_integrals.h"
#include "solver/complex_storage.h"
#include "solver/computation_control.h"
#include "solver/element_lists.h"
#include "solver/frequency_constants.h"
#include "solver/solver_settings.h"

namespace lumetra {

// Where the ground-point unknowns sit: after the Jx unknowns of Zxx (layout without Jy),
// or after the Jy unknowns of Zyy/Zxy/Zyx (layouts with Jy elements), or not modelled.
enum class GroundPointPlacement { None, AfterJx, AfterJy };

struct SystemMatrices {            // absent blocks are null
  ComplexMatrix* Zxx = nullptr;    // (NX [+NG]) square
  ComplexMatrix* Zxy = nullptr;    // NX x (NY [+NG])
  ComplexMatrix* Zyx = nullptr;    // (NY [+NG]) x NX
  ComplexMatrix* Zyy = nullptr;    // (NY [+NG]) square
};

struct FillRequest {
  const ElementLists& Elements;    // its SymX/SymY/SymAll decide the symmetric fill
  FrequencyConstants Constants;    // Omega, EpsEff, K; Height in metres
  bool Image = false;              // ground plane: add the image terms (always true with ground points)
  GroundPointPlacement GroundPoints = GroundPointPlacement::None;
  // High: ground paths tested over their depth, one-cell-wide strips and posts edge-singular
  SolverAccuracy Accuracy = SolverAccuracy::Standard;
};

// Fills every present block with the free-space terms, the image terms when requested,
// and the ground-point rows and columns. The matrices arrive zeroed. Returns false when
// the user aborted (control.AbortRequested set); the matrices are then incomplete.
//
// The work runs on worker threads; the calling thread polls control.PumpAndCheckAbort()
// about every 5 ms meanwhile. Blocks whose sizes do not fit the element counts and
// the placement, or elements naming a missing charge cell, are std::invalid_argument.
bool FillInteractionMatrices(const FillRequest& request, SystemMatrices& matrices,
                             ComputationControl& control);

}  // namespace lumetra
