// Entries between current elements: the Zxx, Zyy, Zxy and Zyx blocks.
//
// Entry (n, m) is the voltage along testing element n per unit surface current
// density on source element m:
//   j Omega mu0/(4 pi) * length_n * integral over m of G       (same direction only)
// + j/(4 pi Omega EpsEff) * [ (A1 - A2)/d1 - (A3 - A4)/d2 ]
// with G = e^(-jkR)/R, d1, d2 the lengths along the source current of its negative
// and positive charge cells q1, q2, and A1..A4 the integrals of G over q1 from P+,
// q1 from P-, q2 from P+ and q2 from P- of the testing element. With a ground plane
// the same terms of the image currents (at 2h, opposite sign) are subtracted.
//
// Self forms: in a same-direction block A1 and A4 take the cell's self integral when
// the end point lies on the cell centre, A2 and A3 on the diagonal; in the mixed
// blocks (Jx against Jy) each of the four takes it when its end point lies on the
// cell centre. Image terms never do.
#pragma once

#include <cstdint>

#include "solver/complex_storage.h"
#include "solver/fill_context.h"

namespace lumetra {

enum class CurrentAxis { X, Y };

struct CurrentBlock {
  ComplexMatrix* Matrix = nullptr;
  CurrentAxis Testing = CurrentAxis::X;  // rows
  CurrentAxis Source = CurrentAxis::X;   // columns
  // Equal elements: only the upper triangle and entry (1, 1) are computed, the rest
  // is copied by MirrorSymmetricColumns (same-direction blocks only).
  bool Symmetric = false;
};

// Columns [first, end) (0-based source elements) of the block.
void FillCurrentColumns(const FillContext& context, const CurrentBlock& block, std::int32_t first,
                        std::int32_t end, WorkerScratch& scratch);

// Completes columns [first, end) (0-based) of a symmetric block of order n after all
// its upper entries are filled: every diagonal entry becomes entry (1, 1), every
// entry below the diagonal the mirror of the one above.
void MirrorSymmetricColumns(ComplexMatrix& matrix, std::int32_t order, std::int32_t first,
                            std::int32_t end);

}  // namespace lumetra
