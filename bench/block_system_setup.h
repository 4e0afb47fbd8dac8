// A coupled Jx/Jy system ready for BlockLUSolve, filled from one whole matrix:
// what a solve benchmark rebuilds (untimed) before every timed factorisation,
// since the factorisation works in place.
#pragma once

#include <algorithm>
#include <vector>

#include "solver/complex_storage.h"

namespace lumetra {

struct PreparedBlockSystem {
  BlockSystem System;
  ComplexVector X1, X2, B1, B2;  // unknowns and right-hand sides, zero
  bool Failed = false;

  // whole is the column-major (p + q) x (p + q) matrix of the four blocks.
  PreparedBlockSystem(int p, int q, const std::vector<Complex>& whole) {
    System.Create(p, q, Failed);
    std::copy(whole.begin(), whole.end(), System.A.Data());
    CreateVector(X1, p, Failed);
    CreateVector(X2, q, Failed);
    CreateVector(B1, p, Failed);
    CreateVector(B2, q, Failed);
  }
};

}  // namespace lumetra
