// Crout's method with implicit row scaling, exactly as the textbook loop runs it:
// one heap row per matrix row, 1-based indices, sums in the order k = 1, 2, ...
// Slow and plain on purpose; the blocked solver must agree with it.
#pragma once

#include <vector>

#include "solver/complex_arithmetic.h"

namespace lumetra::testing {

struct CroutResult {
  bool Solved = false;              // false: zero row or zero pivot met
  std::vector<Complex> X;           // solution, 0-based
  std::vector<int> Pivots;          // pivot row chosen at each column, 0-based
};

// a[i][j] is row i, column j (0-based storage of an n x n matrix).
CroutResult CroutSolve(std::vector<std::vector<Complex>> a, std::vector<Complex> b);

}  // namespace lumetra::testing
