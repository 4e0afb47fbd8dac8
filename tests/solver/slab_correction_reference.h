// The rigorous slab correction written out as its fill rule reads, with no table
// beyond the rule's own record lists, no threads: the oracle of the optimised
// correction, and its per-entry twin for the benchmark's baseline.
#pragma once

#include "solver/dielectric_correction.h"

namespace lumetra::testing {

// With SymX (SymY) one kernel call per distinct absolute offset over the upper
// triangle, a linear search of the record list, the entries of the symmetric range
// and then the diagonal and mirror copies; Zxy with SymAll from a second list with
// the sign rule; Zyx one call per entry; without the flags one call per entry with
// the signed offsets. Adds into the blocks (the copies overwrite whole entries, so
// the blocks should arrive zeroed).
void ReferenceSlabCorrection(const SlabCorrectionRequest& request, SystemMatrices& matrices);

// One kernel call per entry with the signed offsets, whatever the flags say.
void PerEntrySlabCorrection(const SlabCorrectionRequest& request, SystemMatrices& matrices);

}  // namespace lumetra::testing
