// Direct solution of the moment-method system: LU factorisation with implicit
// (row-scaled) partial pivoting, then forward and back substitution.
//
// Pivot rule: every row i gets the scale 1 / max_j |a(i, j)|; in column j the pivot
// is the row i >= j that maximises scale(i) * |a(i, j)| of the updated column, the
// lowest such row on a tie. Scaling makes the choice independent of how rows happen
// to be normalised (a row of the impedance matrix in ohms next to one in siemens).
//
// The factorisation is recursive over halves of the columns, so that nearly all
// work is complex matrix products done by BLAS (zgemm, ztrsm). Between pieces of at
// most a few hundredths of a second it polls the user interface, so the window
// stays responsive and Abort takes effect at once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "solver/complex_storage.h"
#include "solver/computation_control.h"

namespace lumetra {

enum class LuStatus { Factorised, Singular, Aborted };

// While it lives, each BLAS product of the factorisation uses at most `threads`
// threads (BLAS keeps one setting for the whole process): a sweep that factorises
// several points at once gives each its share of the cores.
class BlasThreadLimit {
public:
  explicit BlasThreadLimit(int threads);
  ~BlasThreadLimit();
  BlasThreadLimit(const BlasThreadLimit&) = delete;
  BlasThreadLimit& operator=(const BlasThreadLimit&) = delete;

private:
  int previous_;
};

// Factorises the n x n column-major matrix at a (leading dimension ld) in place
// into P*A = L*U (unit lower L). pivots receives, for each column j (0-based), the
// row exchanged with row j. Singular: a zero row or a zero pivot.
LuStatus LuFactorise(Complex* a, std::int64_t n, std::int64_t ld, std::vector<std::int32_t>& pivots,
                     ComputationControl& control);

// Solves with the factors of LuFactorise; b (n entries) is overwritten by x.
void LuSubstitute(const Complex* lu, std::int64_t n, std::int64_t ld,
                  const std::vector<std::int32_t>& pivots, Complex* b);

// The factors of one system, kept so that several right-hand sides can be solved
// with one factorisation (a network of N ports costs one factorisation and N
// substitutions). The factors live in the caller's matrix when it could be
// factorised in place, else in Gathered; either way the matrix must outlive them.
struct LuFactors {
  const Complex* Lu = nullptr;   // column-major factors, leading dimension Leading
  std::int64_t Order = 0, Leading = 0;
  std::int64_t Split = 0;        // a block system's p: positions up to it belong to X1
  std::vector<std::int32_t> Pivots;
  std::unique_ptr<Complex[]> Gathered;
  bool Ready = false;            // factorised without abort or failure
};

// Factorises A for LUSolveWithFactors. Failed for a non-square matrix, or a
// singular or non-finite one. On abort returns without Failed
// and with factors.Ready false; control.AbortRequested tells.
void LUFactor(ComplexMatrix& A, LuFactors& factors, ComputationControl& control, bool& Failed);

// Solves with the factors: B (of the factors' order) receives the solution, which
// is also copied into X. Failed when the counts differ from the order, the factors
// are not ready, or the solution is not finite.
void LUSolveWithFactors(const LuFactors& factors, ComplexVector& X, ComplexVector& B,
                        ComputationControl& control, bool& Failed);

// Factorises the block system [A Bm; C D] of order p + q (the blocks of a
// BlockSystem in place, other blocks gathered into one matrix first). Failed when
// a block does not fit p and q, or the system is singular.
void BlockLUFactor(ComplexMatrix& A, ComplexMatrix& Bm, ComplexMatrix& C, ComplexMatrix& D,
                   std::int32_t p, std::int32_t q, LuFactors& factors, ComputationControl& control,
                   bool& Failed);

// Solves the factorised block system for [B1; B2]; the solution goes to X1 (the
// first p unknowns) and X2. B1 and B2 are left as they were.
void BlockLUSolveWithFactors(const LuFactors& factors, ComplexVector& X1, ComplexVector& X2,
                             const ComplexVector& B1, const ComplexVector& B2,
                             ComputationControl& control, bool& Failed);

// Solves A x = B. Preconditions: A square, X and B of A's order; otherwise Failed
// and nothing is touched. A receives the factors and B the solution, which is also
// copied into X. Failed also for a singular or non-finite system. On abort the
// function returns without Failed; control.AbortRequested tells.
void LUSolve(ComplexMatrix& A, ComplexVector& X, ComplexVector& B, ComputationControl& control,
             bool& Failed);

// Solves [A Bm; C D] [X1; X2] = [B1; B2] as one system of order p + q, with
// p = X1.Count() and q = X2.Count(). The blocks of a BlockSystem are factorised in
// place; other blocks are gathered into one matrix first. Failed when the system is
// singular.
void BlockLUSolve(ComplexMatrix& A, ComplexMatrix& Bm, ComplexMatrix& C, ComplexMatrix& D,
                  ComplexVector& X1, ComplexVector& X2, ComplexVector& B1, ComplexVector& B2,
                  ComputationControl& control, bool& Failed);

}  // namespace lumetra
