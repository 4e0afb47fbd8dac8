// Complex vectors and matrices of the moment-method system, 1-based as the
// element numbers are.
//
// A matrix stores its entries in one column-major block (16 bytes per entry, no
// per-row heap blocks), which is the layout the BLAS-3 factorisation works on. The
// four blocks of a coupled Jx/Jy system can share one block so that the solver
// factorises them in place as one matrix (see CreateBlockSystem).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "solver/complex_arithmetic.h"

namespace lumetra {

// The program's limit on the unknowns of one direction (plus the ground points)
// and of a coupled system, unless the user lifts it ("Maximum number of unknowns",
// --max-unknowns). The storage itself takes any size that memory holds; the
// computation checks the limit and the machine's memory before it creates one.
inline constexpr std::int32_t DefaultMaxUnknowns = 2000;
// The largest limit the user may set (a matrix of 16 TB).
inline constexpr std::int32_t LargestMaxUnknowns = 1'000'000;

class ComplexVector {
public:
  std::int32_t Count() const { return count_; }
  Complex& operator()(std::int32_t i) { return cells_[static_cast<std::size_t>(i - 1)]; }
  const Complex& operator()(std::int32_t i) const { return cells_[static_cast<std::size_t>(i - 1)]; }
  Complex* Data() { return cells_.data(); }
  const Complex* Data() const { return cells_.data(); }

private:
  friend void CreateVector(ComplexVector&, std::int32_t, bool&);
  friend void FreeVector(ComplexVector&);
  std::int32_t count_ = 0;
  std::vector<Complex> cells_;
};

class ComplexMatrix {
public:
  std::int32_t Rows() const { return rows_; }
  std::int32_t Cols() const { return cols_; }
  Complex& operator()(std::int32_t i, std::int32_t j) { return entries_[Offset(i, j)]; }
  const Complex& operator()(std::int32_t i, std::int32_t j) const { return entries_[Offset(i, j)]; }

  // Column-major storage: entry (i, j) at Data()[(j-1)*LeadingDimension() + i-1].
  Complex* Data() { return entries_; }
  const Complex* Data() const { return entries_; }
  std::int64_t LeadingDimension() const { return leading_; }

private:
  std::size_t Offset(std::int32_t i, std::int32_t j) const {
    return static_cast<std::size_t>((j - 1) * leading_ + (i - 1));
  }
  friend void CreateMatrix(ComplexMatrix&, std::int32_t, std::int32_t, bool&);
  friend void FreeMatrix(ComplexMatrix&);
  friend class BlockSystem;
  std::int32_t rows_ = 0, cols_ = 0;
  std::int64_t leading_ = 0;
  Complex* entries_ = nullptr;
  std::unique_ptr<Complex[]> owned_;  // empty for a block of a BlockSystem
};

// Allocates a rows x cols matrix of zeros; Failed when memory runs out (the matrix
// then holds nothing). Rows < 1 only records the counts.
void CreateMatrix(ComplexMatrix& m, std::int32_t rows, std::int32_t cols, bool& Failed);
// Allocates count zero cells; Failed without memory.
void CreateVector(ComplexVector& v, std::int32_t count, bool& Failed);
void FreeMatrix(ComplexMatrix& m);
void FreeVector(ComplexVector& v);

// The coupled Jx/Jy system [A Bm; C D] of order p + q in one column-major block.
// A (p x p), Bm (p x q), C (q x p) and D (q x q) are windows into it; filling them
// fills the whole matrix, which BlockLUSolve then factorises without copying.
class BlockSystem {
public:
  void Create(std::int32_t p, std::int32_t q, bool& Failed);
  void Free();

  ComplexMatrix A, Bm, C, D;

private:
  std::unique_ptr<Complex[]> storage_;
};

}  // namespace lumetra
