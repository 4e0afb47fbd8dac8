#include "solver/complex_storage.h"

#include <new>

namespace lumetra {

void CreateMatrix(ComplexMatrix& m, std::int32_t rows, std::int32_t cols, bool& Failed) {
  Failed = false;
  FreeMatrix(m);
  if (rows >= 1 && cols >= 1) {
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    m.owned_.reset(new (std::nothrow) Complex[count]());
    if (!m.owned_) {
      Failed = true;
      return;
    }
    m.entries_ = m.owned_.get();
  }
  m.rows_ = rows;
  m.cols_ = cols;
  m.leading_ = rows > 0 ? rows : 0;
}

void CreateVector(ComplexVector& v, std::int32_t count, bool& Failed) {
  Failed = false;
  FreeVector(v);
  try {
    v.cells_.assign(static_cast<std::size_t>(count > 0 ? count : 0), Complex{});
  } catch (const std::bad_alloc&) {
    Failed = true;
    return;
  }
  v.count_ = count;
}

void FreeMatrix(ComplexMatrix& m) {
  m.owned_.reset();
  m.entries_ = nullptr;
  m.rows_ = m.cols_ = 0;
  m.leading_ = 0;
}

void FreeVector(ComplexVector& v) {
  std::vector<Complex>().swap(v.cells_);
  v.count_ = 0;
}

void BlockSystem::Create(std::int32_t p, std::int32_t q, bool& Failed) {
  Failed = false;
  Free();
  if (p < 0 || q < 0) {
    Failed = true;
    return;
  }
  const std::int64_t n = p + q;
  storage_.reset(new (std::nothrow) Complex[static_cast<std::size_t>(n * n)]());
  if (n > 0 && !storage_) {
    Failed = true;
    return;
  }
  Complex* base = storage_.get();
  const auto window = [&](ComplexMatrix& m, std::int32_t rows, std::int32_t cols,
                          std::int64_t rowOffset, std::int64_t colOffset) {
    m.rows_ = rows;
    m.cols_ = cols;
    m.leading_ = n;
    m.entries_ = base ? base + colOffset * n + rowOffset : nullptr;
  };
  window(A, p, p, 0, 0);
  window(Bm, p, q, 0, p);
  window(C, q, p, p, 0);
  window(D, q, q, p, p);
}

void BlockSystem::Free() {
  for (ComplexMatrix* m : {&A, &Bm, &C, &D}) FreeMatrix(*m);
  storage_.reset();
}

}  // namespace lumetra
