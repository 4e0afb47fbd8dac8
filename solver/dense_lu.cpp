#include "solver/dense_lu.h"

#include <cblas.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace lumetra {

namespace {

// Column blocks of at most this width are factorised by plain loops; above it the
// recursion splits the columns in halves.
constexpr std::int64_t LeafWidth = 8;
// Work between two polls of the user interface, in real floating-point operations
// (a complex multiply-add is 8); a few hundredths of a second on this kind of machine.
constexpr double FlopsBetweenPolls = 1.2e9;
// Relative margin of the squared-magnitude prefilter (a few rounding errors wide).
constexpr double PrefilterMargin = 1e-10;
// Below this squared magnitude the prefilter loses relative precision to underflow.
constexpr double TinySquare = 1e-250;

const Complex One{1.0, 0.0};
const Complex MinusOne{-1.0, 0.0};

inline double Square(const Complex& z) { return z.Re * z.Re + z.Im * z.Im; }

// Recursive LU in the manner of LAPACK's getrf2: split the columns, factorise the
// left half, update the right half with a triangular solve and a matrix product,
// factorise the right half, and carry each half's row exchanges over to the other.
// Nearly all arithmetic ends up in large zgemm calls. The pivot choice itself is
// made column by column at the leaves, by the scaled-magnitude rule.
class Factoriser {
public:
  Factoriser(Complex* a, std::int64_t n, std::int64_t ld, std::vector<std::int32_t>& pivots,
             ComputationControl& control)
      : a_(a), n_(n), ld_(ld), pivots_(pivots), control_(control) {}

  LuStatus Run() {
    pivots_.assign(static_cast<std::size_t>(n_), 0);
    if (const LuStatus status = ComputeRowScales(); status != LuStatus::Factorised) return status;
    return n_ > 0 ? Factorise(0, n_) : LuStatus::Factorised;
  }

private:
  Complex& At(std::int64_t i, std::int64_t j) { return a_[j * ld_ + i]; }
  Complex* Ptr(std::int64_t i, std::int64_t j) { return a_ + j * ld_ + i; }

  // scale(i) = 1 / max_j |a(i, j)| with |.| = CAbs exactly. The squared magnitude
  // finds the few entries that can be the largest; CAbs decides among them. A row
  // of zeros (or of non-finite values) has no scale: the matrix is singular.
  LuStatus ComputeRowScales() {
    std::vector<double> largestSquare(static_cast<std::size_t>(n_), 0.0);
    for (std::int64_t j = 0; j < n_; ++j) {
      const Complex* column = Ptr(0, j);
      for (std::int64_t i = 0; i < n_; ++i)
        largestSquare[i] = std::max(largestSquare[i], Square(column[i]));
    }
    std::vector<double> threshold(static_cast<std::size_t>(n_));
    for (std::int64_t i = 0; i < n_; ++i)
      threshold[i] =
          largestSquare[i] < TinySquare ? 0.0 : largestSquare[i] * (1.0 - PrefilterMargin);
    std::vector<double> largest(static_cast<std::size_t>(n_), 0.0);
    for (std::int64_t j = 0; j < n_; ++j) {
      const Complex* column = Ptr(0, j);
      for (std::int64_t i = 0; i < n_; ++i)
        if (Square(column[i]) >= threshold[i]) largest[i] = std::max(largest[i], CAbs(column[i]));
    }
    scale_.resize(static_cast<std::size_t>(n_));
    for (std::int64_t i = 0; i < n_; ++i) {
      if (!(largest[i] > 0.0) || !std::isfinite(largest[i])) return LuStatus::Singular;
      scale_[i] = 1.0 / largest[i];
    }
    return control_.PumpAndCheckAbort() ? LuStatus::Aborted : LuStatus::Factorised;
  }

  // Factorises columns [c0, c0 + width), rows c0 to the bottom; row exchanges are
  // applied to these columns only (the caller carries them to the others).
  LuStatus Factorise(std::int64_t c0, std::int64_t width) {
    if (width <= LeafWidth) return FactoriseLeaf(c0, width);
    const std::int64_t left = width / 2, right = width - left, c1 = c0 + left;
    if (const LuStatus status = Factorise(c0, left); status != LuStatus::Factorised) return status;
    ApplyRowExchanges(c0, c1, c1, c0 + width);
    if (const LuStatus status = UpdateRight(c0, left, c1, right); status != LuStatus::Factorised)
      return status;
    if (const LuStatus status = Factorise(c1, right); status != LuStatus::Factorised) return status;
    ApplyRowExchanges(c1, c0 + width, c0, c1);
    return LuStatus::Factorised;
  }

  // U12 := L11^-1 A12 and A22 := A22 - L21 U12, where the left block is columns
  // [c0, c1) and the right block [c1, c1 + right); in column chunks small enough to
  // poll between them.
  LuStatus UpdateRight(std::int64_t c0, std::int64_t left, std::int64_t c1, std::int64_t right) {
    const std::int64_t rows = n_ - c1;
    const double flopsPerColumn = 8.0 * double(rows + left) * double(left);
    const std::int64_t chunk =
        std::max<std::int64_t>(32, static_cast<std::int64_t>(FlopsBetweenPolls / flopsPerColumn));
    for (std::int64_t c = c1; c < c1 + right; c += chunk) {
      const std::int64_t cols = std::min(chunk, c1 + right - c);
      cblas_ztrsm(CblasColMajor, CblasLeft, CblasLower, CblasNoTrans, CblasUnit, int(left),
                  int(cols), &One, Ptr(c0, c0), int(ld_), Ptr(c0, c), int(ld_));
      if (rows > 0)
        cblas_zgemm(CblasColMajor, CblasNoTrans, CblasNoTrans, int(rows), int(cols), int(left),
                    &MinusOne, Ptr(c1, c0), int(ld_), Ptr(c0, c), int(ld_), &One, Ptr(c1, c),
                    int(ld_));
      if (control_.PumpAndCheckAbort()) return LuStatus::Aborted;
    }
    return LuStatus::Factorised;
  }

  // A narrow block of columns by plain right-looking elimination.
  LuStatus FactoriseLeaf(std::int64_t c0, std::int64_t width) {
    const std::int64_t end = c0 + width;
    for (std::int64_t j = c0; j < end; ++j) {
      const std::int64_t pivot = ChoosePivot(j);
      if (pivot < 0) return LuStatus::Singular;  // nothing but zeros left in the column
      if (pivot != j) {
        for (std::int64_t c = c0; c < end; ++c) std::swap(At(j, c), At(pivot, c));
        scale_[pivot] = scale_[j];
      }
      pivots_[j] = static_cast<std::int32_t>(pivot);
      // Divide the column below the pivot, as a multiplication by the reciprocal.
      Complex* column = Ptr(0, j);
      if (j + 1 < n_) {
        const Complex reciprocal = CDiv(One, column[j]);
        for (std::int64_t i = j + 1; i < n_; ++i) column[i] = CMul(column[i], reciprocal);
      }
      // Rank-one update of the leaf's remaining columns.
      for (std::int64_t c = j + 1; c < end; ++c) {
        Complex* target = Ptr(0, c);
        const double uRe = target[j].Re, uIm = target[j].Im;
        for (std::int64_t i = j + 1; i < n_; ++i) {
          target[i].Re -= column[i].Re * uRe - column[i].Im * uIm;
          target[i].Im -= column[i].Im * uRe + column[i].Re * uIm;
        }
      }
    }
    return control_.PumpAndCheckAbort() ? LuStatus::Aborted : LuStatus::Factorised;
  }

  // The row i >= j maximising scale(i) * CAbs(a(i, j)), the lowest on a tie; -1
  // when every candidate is zero or not finite. The squared scaled magnitude picks
  // out the rows that can win (within a rounding margin); the exact rule decides.
  std::int64_t ChoosePivot(std::int64_t j) {
    const Complex* column = Ptr(0, j);
    double best = 0.0;
    for (std::int64_t i = j; i < n_; ++i) {
      const double re = scale_[i] * column[i].Re, im = scale_[i] * column[i].Im;
      best = std::max(best, re * re + im * im);
    }
    const double threshold = best < TinySquare ? 0.0 : best * (1.0 - PrefilterMargin);
    double largest = 0.0;
    std::int64_t pivot = -1;
    for (std::int64_t i = j; i < n_; ++i) {
      const double re = scale_[i] * column[i].Re, im = scale_[i] * column[i].Im;
      if (re * re + im * im < threshold) continue;
      const double scaled = scale_[i] * CAbs(column[i]);
      if (scaled > largest) {  // strictly: a tie keeps the lower row
        largest = scaled;
        pivot = i;
      }
    }
    return pivot;
  }

  // Applies the exchanges of rows [first, last) to columns [c0, c1), column by
  // column so that each column is touched while it is in cache.
  void ApplyRowExchanges(std::int64_t first, std::int64_t last, std::int64_t c0, std::int64_t c1) {
    for (std::int64_t c = c0; c < c1; ++c) {
      Complex* column = Ptr(0, c);
      for (std::int64_t r = first; r < last; ++r)
        if (pivots_[r] != r) std::swap(column[r], column[pivots_[r]]);
    }
  }

  Complex* a_;
  std::int64_t n_, ld_;
  std::vector<std::int32_t>& pivots_;
  ComputationControl& control_;
  std::vector<double> scale_;
};

bool AllFinite(const Complex* values, std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i)
    if (!std::isfinite(values[i].Re) || !std::isfinite(values[i].Im)) return false;
  return true;
}

void StartInverting(ComputationControl& control) {
  control.ui.SetStatusText(StatusPanel::State, "Inverting");
  control.InvertStartTime = std::chrono::system_clock::now();
}

// Substitutes b (n entries) with finished factors and tells whether the solution
// is finite. A pending abort is noticed here, as after every solver step.
bool SubstituteChecked(const LuFactors& f, Complex* b, ComputationControl& control) {
  LuSubstitute(f.Lu, f.Order, f.Leading, f.Pivots, b);
  control.PumpAndCheckAbort();
  return AllFinite(b, f.Order);
}

// Factorises the n x n matrix at a (leading dimension ld) into f. False for a
// singular or non-finite matrix; on abort true with f.Ready false.
bool FactoriseInto(Complex* a, std::int64_t n, std::int64_t ld, LuFactors& f,
                   ComputationControl& control) {
  f.Lu = a;
  f.Order = n;
  f.Leading = ld;
  f.Ready = false;
  switch (LuFactorise(a, n, ld, f.Pivots, control)) {
    case LuStatus::Aborted: return true;
    case LuStatus::Singular: return false;
    case LuStatus::Factorised: break;
  }
  f.Ready = true;
  return true;
}

}  // namespace

BlasThreadLimit::BlasThreadLimit(int threads) : previous_(openblas_get_num_threads()) {
  openblas_set_num_threads(std::max(threads, 1));
}
BlasThreadLimit::~BlasThreadLimit() { openblas_set_num_threads(previous_); }

LuStatus LuFactorise(Complex* a, std::int64_t n, std::int64_t ld, std::vector<std::int32_t>& pivots,
                     ComputationControl& control) {
  return Factoriser(a, n, ld, pivots, control).Run();
}

void LuSubstitute(const Complex* lu, std::int64_t n, std::int64_t ld,
                  const std::vector<std::int32_t>& pivots, Complex* b) {
  if (n <= 0) return;
  // The row exchanges of the factorisation, in order, then L y = Pb and U x = y.
  for (std::int64_t j = 0; j < n; ++j)
    if (pivots[j] != j) std::swap(b[j], b[pivots[j]]);
  cblas_ztrsv(CblasColMajor, CblasLower, CblasNoTrans, CblasUnit, int(n), lu, int(ld), b, 1);
  cblas_ztrsv(CblasColMajor, CblasUpper, CblasNoTrans, CblasNonUnit, int(n), lu, int(ld), b, 1);
}

void LUFactor(ComplexMatrix& A, LuFactors& factors, ComputationControl& control, bool& Failed) {
  Failed = false;
  factors = LuFactors{};
  const std::int32_t n = A.Rows();
  if (A.Cols() != n) {
    Failed = true;
    return;
  }
  StartInverting(control);
  factors.Split = n;
  if (!FactoriseInto(A.Data(), n, A.LeadingDimension(), factors, control)) Failed = true;
}

void LUSolveWithFactors(const LuFactors& factors, ComplexVector& X, ComplexVector& B,
                        ComputationControl& control, bool& Failed) {
  Failed = false;
  const std::int64_t n = factors.Order;
  if (!factors.Ready || X.Count() != n || B.Count() != n) {
    Failed = true;
    return;
  }
  if (!SubstituteChecked(factors, B.Data(), control)) {
    Failed = true;
    return;
  }
  if (!control.AbortRequested) std::copy(B.Data(), B.Data() + n, X.Data());
}

void LUSolve(ComplexMatrix& A, ComplexVector& X, ComplexVector& B, ComputationControl& control,
             bool& Failed) {
  Failed = false;
  const std::int32_t n = A.Rows();
  if (A.Cols() != n || X.Count() != n || B.Count() != n) {
    Failed = true;
    return;
  }
  LuFactors factors;
  LUFactor(A, factors, control, Failed);
  if (Failed || !factors.Ready) return;
  LUSolveWithFactors(factors, X, B, control, Failed);
}

void BlockLUFactor(ComplexMatrix& A, ComplexMatrix& Bm, ComplexMatrix& C, ComplexMatrix& D,
                   std::int32_t pCount, std::int32_t qCount, LuFactors& factors,
                   ComputationControl& control, bool& Failed) {
  Failed = false;
  factors = LuFactors{};
  const std::int64_t p = pCount, q = qCount, n = p + q;
  // Blocks that do not fit the unknown counts would be read out of bounds.
  const auto fits = [](const ComplexMatrix& m, std::int64_t rows, std::int64_t cols) {
    return rows == 0 || cols == 0 || (m.Rows() == rows && m.Cols() == cols);
  };
  if (p < 0 || q < 0 || !fits(A, p, p) || !fits(Bm, p, q) || !fits(C, q, p) ||
      !fits(D, q, q)) {
    Failed = true;
    return;
  }
  StartInverting(control);

  // The blocks of a BlockSystem already form the whole matrix in one column-major
  // block of leading dimension n; anything else is gathered into one first.
  Complex* whole = nullptr;
  std::int64_t ld = n;
  if (q == 0 && A.LeadingDimension() >= p) {
    whole = A.Data(), ld = A.LeadingDimension();
  } else if (p == 0 && D.LeadingDimension() >= q) {
    whole = D.Data(), ld = D.LeadingDimension();
  } else if (A.LeadingDimension() == n && Bm.LeadingDimension() == n &&
             C.LeadingDimension() == n && D.LeadingDimension() == n && C.Data() == A.Data() + p &&
             Bm.Data() == A.Data() + p * n && D.Data() == A.Data() + p * n + p) {
    whole = A.Data();
  } else {
    factors.Gathered.reset(new (std::nothrow) Complex[static_cast<std::size_t>(n * n)]);
    if (!factors.Gathered) {
      Failed = true;
      return;
    }
    whole = factors.Gathered.get();
    for (std::int64_t j = 1; j <= n; ++j)
      for (std::int64_t i = 1; i <= n; ++i) {
        const bool top = i <= p, leftBlock = j <= p;
        const Complex value = top ? (leftBlock ? A(i, j) : Bm(i, j - p))
                                  : (leftBlock ? C(i - p, j) : D(i - p, j - p));
        whole[(j - 1) * n + (i - 1)] = value;
      }
  }
  factors.Split = p;
  if (!FactoriseInto(whole, n, ld, factors, control)) Failed = true;
}

void BlockLUSolveWithFactors(const LuFactors& factors, ComplexVector& X1, ComplexVector& X2,
                             const ComplexVector& B1, const ComplexVector& B2,
                             ComputationControl& control, bool& Failed) {
  Failed = false;
  const std::int64_t p = factors.Split, n = factors.Order, q = n - p;
  if (!factors.Ready || X1.Count() != p || X2.Count() != q || B1.Count() != p ||
      B2.Count() != q) {
    Failed = true;
    return;
  }
  std::vector<Complex> b(static_cast<std::size_t>(n));
  std::copy(B1.Data(), B1.Data() + p, b.begin());
  std::copy(B2.Data(), B2.Data() + q, b.begin() + p);
  if (!SubstituteChecked(factors, b.data(), control)) {
    Failed = true;
    return;
  }
  if (control.AbortRequested) return;
  std::copy(b.begin(), b.begin() + p, X1.Data());
  std::copy(b.begin() + p, b.end(), X2.Data());
}

void BlockLUSolve(ComplexMatrix& A, ComplexMatrix& Bm, ComplexMatrix& C, ComplexMatrix& D,
                  ComplexVector& X1, ComplexVector& X2, ComplexVector& B1, ComplexVector& B2,
                  ComputationControl& control, bool& Failed) {
  Failed = false;
  const std::int64_t p = X1.Count(), q = X2.Count();
  if (B1.Count() != p || B2.Count() != q) {
    Failed = true;
    return;
  }
  LuFactors factors;
  BlockLUFactor(A, Bm, C, D, static_cast<std::int32_t>(p), static_cast<std::int32_t>(q), factors,
                control, Failed);
  if (Failed || !factors.Ready) return;
  BlockLUSolveWithFactors(factors, X1, X2, B1, B2, control, Failed);
}

}  // namespace lumetra
