#include "solver/dense_lu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <tuple>

#include "tests/solver/crout_reference.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::CroutSolve;
using testing::RecordingUi;
using Rows = std::vector<std::vector<Complex>>;

std::vector<Complex> RandomVector(int n, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<Complex> b(n);
  for (Complex& z : b) z = {u(random), u(random)};
  return b;
}

// Rows of the same random sequence, filled row by row.
Rows RandomMatrix(int n, unsigned seed) {
  const std::vector<Complex> values = RandomVector(n * n, seed);
  Rows a;
  for (int i = 0; i < n; ++i) a.emplace_back(values.begin() + i * n, values.begin() + (i + 1) * n);
  return a;
}

// A complex-symmetric matrix like the one the moment method assembles: the
// free-space Green's function exp(-jkR)/R between points on a trace, with a
// dominant self term.
Rows MomentLikeMatrix(int n) {
  Rows a(n, std::vector<Complex>(n));
  const double k = 2 * M_PI / 0.3;  // 1 GHz, metres
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const double r = i == j ? 0.0005 : std::fabs(i - j) * 0.002;
      const std::complex<double> g = std::exp(std::complex<double>(0, -k * r)) / r;
      a[i][j] = {g.real(), g.imag()};
    }
  return a;
}

struct Solved {
  bool failed;
  std::vector<Complex> x;
};

Solved SolveWithLu(const Rows& a, const std::vector<Complex>& b, ComputationControl& control) {
  const int n = static_cast<int>(a.size());
  ComplexMatrix m;
  ComplexVector x, rhs;
  bool failed = false;
  CreateMatrix(m, n, n, failed);
  CreateVector(x, n, failed);
  CreateVector(rhs, n, failed);
  for (int i = 1; i <= n; ++i) {
    rhs(i) = b[i - 1];
    for (int j = 1; j <= n; ++j) m(i, j) = a[i - 1][j - 1];
  }
  LUSolve(m, x, rhs, control, failed);
  return {failed, std::vector<Complex>(x.Data(), x.Data() + n)};
}

double RelativeDifference(const std::vector<Complex>& x, const std::vector<Complex>& y) {
  double difference = 0, norm = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    difference += std::pow(x[i].Re - y[i].Re, 2) + std::pow(x[i].Im - y[i].Im, 2);
    norm += std::pow(y[i].Re, 2) + std::pow(y[i].Im, 2);
  }
  return std::sqrt(difference / norm);
}

std::vector<int> BlockedPivots(const Rows& a, ComputationControl& control) {
  const int n = static_cast<int>(a.size());
  std::vector<Complex> m(static_cast<std::size_t>(n) * n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) m[static_cast<std::size_t>(j) * n + i] = a[i][j];
  std::vector<std::int32_t> pivots;
  EXPECT_EQ(LuFactorise(m.data(), n, n, pivots, control), LuStatus::Factorised);
  return std::vector<int>(pivots.begin(), pivots.end());
}

class DenseLu : public ::testing::Test {
protected:
  RecordingUi ui;
  ComputationControl control{ui};
};

TEST_F(DenseLu, AgreesWithTheCroutLoopOnRandomAndMomentLikeSystems) {
  // Orders around and across the panel width, where the blocking changes shape.
  for (int n : {1, 2, 3, 17, 95, 96, 97, 193, 300}) {
    SCOPED_TRACE(n);
    const Rows a = RandomMatrix(n, n);
    const std::vector<Complex> b = RandomVector(n, n + 7);
    const auto oracle = CroutSolve(a, b);
    ASSERT_TRUE(oracle.Solved);
    const Solved lu = SolveWithLu(a, b, control);
    ASSERT_FALSE(lu.failed);
    EXPECT_LT(RelativeDifference(lu.x, oracle.X), 1e-10);
    EXPECT_EQ(BlockedPivots(a, control), oracle.Pivots);
  }
  const Rows moment = MomentLikeMatrix(250);
  const std::vector<Complex> b = RandomVector(250, 3);
  const auto oracle = CroutSolve(moment, b);
  const Solved lu = SolveWithLu(moment, b, control);
  ASSERT_FALSE(lu.failed);
  EXPECT_LT(RelativeDifference(lu.x, oracle.X), 1e-10);
}

TEST_F(DenseLu, IllConditionedSystemsAgreeToWhatTheConditionAllows) {
  // A complex Hilbert-like matrix: condition number about 1e10 at order 8.
  const int n = 8;
  Rows a(n, std::vector<Complex>(n));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) a[i][j] = {1.0 / (i + j + 1), 0.5 / (i + j + 2)};
  std::vector<Complex> b(n, Complex{1, 0});
  const auto oracle = CroutSolve(a, b);
  const Solved lu = SolveWithLu(a, b, control);
  ASSERT_FALSE(lu.failed);
  EXPECT_LT(RelativeDifference(lu.x, oracle.X), 1e-4);
  // The residual is small whatever the conditioning: backward stability.
  double residual = 0, scale = 0;
  for (int i = 0; i < n; ++i) {
    std::complex<double> sum = 0;
    for (int j = 0; j < n; ++j)
      sum += std::complex<double>(a[i][j].Re, a[i][j].Im) * std::complex<double>(lu.x[j].Re, lu.x[j].Im);
    residual = std::max(residual, std::abs(sum - 1.0));
    scale = std::max(scale, std::abs(std::complex<double>(lu.x[i].Re, lu.x[i].Im)));
  }
  EXPECT_LT(residual / scale, 1e-13);
}

TEST_F(DenseLu, PivotIsChosenByScaledMagnitudeAndTiesGoToTheLowerRow) {
  // Column 1 scaled: row 1 2/100, row 2 1/1, row 3 |3+4j|/5 = 1. Unscaled, row 1
  // (|2|) would beat row 2 (|1|); scaled, rows 2 and 3 tie and row 2 wins.
  const Rows a = {{{2, 0}, {100, 0}, {0, 0}},
                  {{1, 0}, {1, 0}, {0.5, 0}},
                  {{3, 4}, {0, 0}, {5, 0}}};
  const auto oracle = CroutSolve(a, {{1, 0}, {2, 0}, {3, 0}});
  ASSERT_TRUE(oracle.Solved);
  EXPECT_EQ(oracle.Pivots[0], 1);
  EXPECT_EQ(BlockedPivots(a, control), oracle.Pivots);
  const Solved lu = SolveWithLu(a, {{1, 0}, {2, 0}, {3, 0}}, control);
  EXPECT_LT(RelativeDifference(lu.x, oracle.X), 1e-14);
}

TEST_F(DenseLu, LeadingZerosOfTheRightHandSideChangeNothing) {
  const int n = 120;
  const Rows a = RandomMatrix(n, 11);
  std::vector<Complex> b = RandomVector(n, 12);
  for (int i = 0; i < 40; ++i) b[i] = {0, 0};
  const auto oracle = CroutSolve(a, b);
  const Solved lu = SolveWithLu(a, b, control);
  EXPECT_LT(RelativeDifference(lu.x, oracle.X), 1e-10);
}

TEST_F(DenseLu, ZeroRowsZeroPivotsAndNonFiniteEntriesFailInsteadOfYieldingNaN) {
  const std::vector<Complex> b = {{1, 0}, {1, 0}};
  EXPECT_TRUE(SolveWithLu({{{1, 0}, {2, 0}}, {{0, 0}, {0, 0}}}, b, control).failed);
  EXPECT_TRUE(SolveWithLu({{{1, 0}, {2, 0}}, {{2, 0}, {4, 0}}}, b, control).failed);
  EXPECT_TRUE(SolveWithLu({{{1, 0}, {NAN, 0}}, {{2, 0}, {1, 0}}}, b, control).failed);
  EXPECT_TRUE(SolveWithLu({{{1, 0}, {INFINITY, 0}}, {{2, 0}, {1, 0}}}, b, control).failed);
  EXPECT_FALSE(control.AbortRequested);
}

TEST_F(DenseLu, BrokenPreconditionsFailWithoutTouchingTheData) {
  bool failed = false;
  ComplexMatrix m;
  ComplexVector x, b;
  CreateMatrix(m, 3, 2, failed);
  CreateVector(x, 3, failed);
  CreateVector(b, 3, failed);
  m(1, 1) = {7, 0};
  b(1) = {5, 0};
  LUSolve(m, x, b, control, failed);
  EXPECT_TRUE(failed);
  EXPECT_EQ(std::tie(m(1, 1).Re, b(1).Re), std::make_tuple(7.0, 5.0));
  EXPECT_TRUE(ui.statusTexts.empty());

  CreateMatrix(m, 3, 3, failed);
  CreateVector(x, 2, failed);
  LUSolve(m, x, b, control, failed);
  EXPECT_TRUE(failed);
  CreateVector(x, 3, failed);
  CreateVector(b, 4, failed);
  LUSolve(m, x, b, control, failed);
  EXPECT_TRUE(failed);
}

TEST_F(DenseLu, AbortStopsTheFactorisationAtTheNextPoll) {
  ui.abortAfterPolls = 5;
  const Rows a = RandomMatrix(300, 5);
  const Solved lu = SolveWithLu(a, RandomVector(300, 6), control);
  EXPECT_EQ(std::tie(lu.failed, control.AbortRequested, ui.polls), std::make_tuple(false, true, 5));
  EXPECT_EQ(ui.statusTexts, std::vector<std::string>{"0:Inverting"});
  for (const Complex& z : lu.x) EXPECT_EQ(z, (Complex{0, 0}));  // no result delivered
}

// The coupled system [A Bm; C D] solved as blocks equals the whole matrix solved
// by the Crout loop.
class BlockLu : public DenseLu {
protected:
  void Check(int p, int q, bool asBlockSystem) {
    const int n = p + q;
    const Rows whole = RandomMatrix(n, 100 + n);
    const std::vector<Complex> b = RandomVector(n, 200 + n);
    bool failed = false;
    BlockSystem system;
    ComplexMatrix a, bm, c, d;
    if (asBlockSystem) system.Create(p, q, failed);
    for (auto [m, rows, columns] : {std::tuple{&a, p, p}, {&bm, p, q}, {&c, q, p}, {&d, q, q}})
      if (!asBlockSystem) CreateMatrix(*m, rows, columns, failed);
    ComplexMatrix& A = asBlockSystem ? system.A : a;
    ComplexMatrix& Bm = asBlockSystem ? system.Bm : bm;
    ComplexMatrix& C = asBlockSystem ? system.C : c;
    ComplexMatrix& D = asBlockSystem ? system.D : d;
    for (int i = 1; i <= n; ++i)
      for (int j = 1; j <= n; ++j) {
        const Complex v = whole[i - 1][j - 1];
        if (i <= p && j <= p) A(i, j) = v;
        else if (i <= p) Bm(i, j - p) = v;
        else if (j <= p) C(i - p, j) = v;
        else D(i - p, j - p) = v;
      }
    ComplexVector x1, x2, b1, b2;
    for (auto [v, size] : {std::pair{&x1, p}, {&x2, q}, {&b1, p}, {&b2, q}})
      CreateVector(*v, size, failed);
    for (int i = 1; i <= p; ++i) b1(i) = b[i - 1];
    for (int i = 1; i <= q; ++i) b2(i) = b[p + i - 1];
    BlockLUSolve(A, Bm, C, D, x1, x2, b1, b2, control, failed);
    ASSERT_FALSE(failed);
    std::vector<Complex> x(x1.Data(), x1.Data() + p);
    x.insert(x.end(), x2.Data(), x2.Data() + q);
    EXPECT_LT(RelativeDifference(x, CroutSolve(whole, b).X), 1e-10);
  }
};

TEST_F(BlockLu, InPlaceAndGatheredBlocksSolveTheWholeSystem) {
  // q = 0: the plain system A.
  for (auto [p, q, asBlockSystem] : {std::tuple{70, 50, true},
                                     {70, 50, false},
                                     {1, 130, true},
                                     {40, 0, false},
                                     {40, 0, true},
                                     {0, 30, false}})
    Check(p, q, asBlockSystem);
}

TEST_F(BlockLu, MoreThanTwoThousandUnknownsFail) {
  ComplexMatrix a, bm, c, d;
  ComplexVector x1, x2, b1, b2;
  bool failed = false;
  for (auto [v, size] : {std::pair{&x1, 1000}, {&x2, 1001}, {&b1, 1000}, {&b2, 1001}})
    CreateVector(*v, size, failed);
  BlockLUSolve(a, bm, c, d, x1, x2, b1, b2, control, failed);
  EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace lumetra
