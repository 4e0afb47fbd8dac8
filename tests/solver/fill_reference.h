// The matrix fill written out entry by entry, every integral computed where the
// formula names it: no tables, no caches, no threads. Slow and plain on purpose;
// the optimised fill must agree with it.
#pragma once

#include <vector>

#include "solver/complex_arithmetic.h"
#include "solver/interaction_fill.h"

namespace lumetra::testing {

// A rectangular trace segment in metres, cut into ChX x ChY charge cells.
struct TestSegment {
  double Xc, Yc, Lx, Ly;
  int ChX, ChY;
};

// The elements of the segments as a saved project gives them to the solver: the
// discretisation's cells and elements and the connecting elements, in metres, with
// the layout span and symmetry flags derived.
ElementLists BuildLayout(const std::vector<TestSegment>& segments);

// Adds a ground point on an edge (1 left, 2 right, 3 bottom, 4 top) of charge
// cell `charge` (1-based) and clears the symmetry flags, as loading does.
void AddGroundPoint(ElementLists& lists, std::int32_t charge, std::int32_t edgeCode);

// Fills the blocks of the layout (arriving zeroed, shaped as for
// FillInteractionMatrices) in the order of the system assembly: Zxx free space,
// image; Zxy; Zyx; Zyy; then the ground-point couplings.
void ReferenceFill(const FillRequest& request, SystemMatrices& matrices);

// The blocks of a layout, created zeroed with the shapes its placement needs.
struct TestBlocks {
  ComplexMatrix Zxx, Zxy, Zyx, Zyy;
  SystemMatrices View();
};
void CreateBlocks(TestBlocks& blocks, const FillRequest& request);

// Largest |a - b| over the block, divided by the largest |b|; 0 for empty blocks.
double RelativeMismatch(const ComplexMatrix& a, const ComplexMatrix& b);

}  // namespace lumetra::testing
