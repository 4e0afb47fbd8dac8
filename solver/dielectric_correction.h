// The rigorous treatment of a dielectric slab between the layout and the ground
// plane. The free-space and image fills model the slab as a homogeneous medium of
// permittivity eps0 (epsR + 1)/2 with an image at 2h, which is right in the
// quasi-static limit; the kernel library integrates in the spectral domain what the
// true slab adds to that, and this fill adds it to every current-current entry:
// Zxx, Zxy, Zyx and Zyy (ground points never meet a slab).
//
// Entry (n, m) receives the kernel of source m and testing element n with the
// offset source centre minus testing centre, the source's half-sizes and the
// testing element's half-length along its own direction. Each distinct kernel value
// of the point is computed once (see kernel_table.h), on all cores.
#pragma once

#include <cstdint>

#include "solver/computation_control.h"
#include "solver/element_lists.h"
#include "solver/interaction_fill.h"
#include "solver/solver_settings.h"
#include "solver/spectral_limit.h"

namespace lumetra {

struct SlabCorrectionRequest {
  const ElementLists& Elements;
  double FrequencyMHz = 0.0;
  double EpsR = 1.0;
  double Height = 0.0;            // slab thickness, m
  SpectralIntegration Spectral;   // MaxKr and step of this frequency
  // High: sources one cell wide carry the edge-singular distribution across their
  // width (one_cell_wide_strips.h), as in the free-space and image fill.
  SolverAccuracy Accuracy = SolverAccuracy::Standard;
};

// How much work a correction took: the entries it served and the kernel values it
// computed for them.
struct SlabCorrectionCount {
  std::int64_t Entries = 0;
  std::int64_t KernelCalls = 0;
};

// Adds the corrections into the present blocks (sized as for FillInteractionMatrices;
// rows and columns beyond the current elements are left alone). The calling thread
// polls control.PumpAndCheckAbort() every few milliseconds; returns false when the
// user aborted (the blocks are then incomplete). A too small block is
// std::invalid_argument.
bool AddSlabCorrection(const SlabCorrectionRequest& request, SystemMatrices& matrices,
                       ComputationControl& control, SlabCorrectionCount* count = nullptr);

}  // namespace lumetra
