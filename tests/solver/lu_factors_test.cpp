// One factorisation, several right-hand sides: every solve with kept factors must
// give, bit for bit, what the one-call solver gives for that right-hand side, for
// the plain and for the coupled block system.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

#include "solver/dense_lu.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::RecordingUi;

Complex RandomComplex(std::mt19937& random) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  return {u(random), u(random)};
}

// A random complex matrix (pivoting active in nearly every column).
void FillMatrix(ComplexMatrix& m, unsigned seed) {
  std::mt19937 random(seed);
  for (std::int32_t j = 1; j <= m.Cols(); ++j)
    for (std::int32_t i = 1; i <= m.Rows(); ++i) m(i, j) = RandomComplex(random);
}

void FillVector(ComplexVector& v, unsigned seed) {
  std::mt19937 random(seed);
  for (std::int32_t i = 1; i <= v.Count(); ++i) v(i) = RandomComplex(random);
}

// Created rows x cols and filled from the seed.
void RandomMatrix(ComplexMatrix& m, std::int32_t rows, std::int32_t cols, unsigned seed,
                  bool& failed) {
  CreateMatrix(m, rows, cols, failed);
  FillMatrix(m, seed);
}

bool SameBits(const ComplexVector& a, const ComplexVector& b) {
  return a.Count() == b.Count() &&
         std::memcmp(a.Data(), b.Data(), sizeof(Complex) * static_cast<std::size_t>(a.Count())) == 0;
}

class LuFactorsTest : public ::testing::Test {
protected:
  RecordingUi ui;
  ComputationControl control{ui};
  bool failed = false;
};

TEST_F(LuFactorsTest, EverySolveWithKeptFactorsEqualsTheOneCallSolveBitForBit) {
  for (int n : {1, 9, 130, 301}) {
    SCOPED_TRACE(n);
    ComplexMatrix factorised;
    RandomMatrix(factorised, n, n, 7 + n, failed);
    LuFactors factors;
    LUFactor(factorised, factors, control, failed);
    ASSERT_FALSE(failed);
    ASSERT_TRUE(factors.Ready);
    for (unsigned rhs = 0; rhs < 4; ++rhs) {
      ComplexMatrix fresh;
      ComplexVector b1, x1, b2, x2;
      RandomMatrix(fresh, n, n, 7 + n, failed);
      for (ComplexVector* v : {&b1, &x1, &b2, &x2}) CreateVector(*v, n, failed);
      FillVector(b1, 100 + rhs);
      FillVector(b2, 100 + rhs);
      LUSolve(fresh, x1, b1, control, failed);
      ASSERT_FALSE(failed);
      LUSolveWithFactors(factors, x2, b2, control, failed);
      ASSERT_FALSE(failed);
      EXPECT_TRUE(SameBits(x1, x2)) << "right-hand side " << rhs;
    }
  }
}

// The coupled system solved from kept factors, in place and gathered, equals
// BlockLUSolve, and leaves the right-hand sides untouched.
TEST_F(LuFactorsTest, BlockFactorsSolveLikeBlockLUSolveAndKeepTheRightHandSides) {
  for (bool inPlace : {true, false}) {
    SCOPED_TRACE(inPlace);
    const std::int32_t p = 70, q = 45;
    auto fill = [&](BlockSystem& system,
                    ComplexMatrix(&loose)[4]) -> std::array<ComplexMatrix*, 4> {
      if (inPlace) system.Create(p, q, failed);
      for (int k = 0; k < 4 && !inPlace; ++k)
        CreateMatrix(loose[k], k < 2 ? p : q, k % 2 ? q : p, failed);
      std::array<ComplexMatrix*, 4> blocks =
          inPlace ? std::array{&system.A, &system.Bm, &system.C, &system.D}
                  : std::array{&loose[0], &loose[1], &loose[2], &loose[3]};
      for (int k = 0; k < 4; ++k) FillMatrix(*blocks[k], 31 + k);
      return blocks;
    };
    BlockSystem kept;
    ComplexMatrix keptLoose[4];
    auto blocks = fill(kept, keptLoose);
    LuFactors factors;
    BlockLUFactor(*blocks[0], *blocks[1], *blocks[2], *blocks[3], p, q, factors, control, failed);
    ASSERT_FALSE(failed);
    EXPECT_EQ(factors.Gathered != nullptr, !inPlace);
    for (unsigned rhs = 0; rhs < 3; ++rhs) {
      BlockSystem fresh;
      ComplexMatrix freshLoose[4];
      auto once = fill(fresh, freshLoose);
      ComplexVector b1, b2, x1, x2, c1, c2, y1, y2;
      for (ComplexVector* v : {&b1, &x1, &c1, &y1}) CreateVector(*v, p, failed);
      for (ComplexVector* v : {&b2, &x2, &c2, &y2}) CreateVector(*v, q, failed);
      FillVector(b1, 300 + rhs), FillVector(b2, 400 + rhs);
      FillVector(c1, 300 + rhs), FillVector(c2, 400 + rhs);
      BlockLUSolve(*once[0], *once[1], *once[2], *once[3], x1, x2, b1, b2, control, failed);
      ASSERT_FALSE(failed);
      BlockLUSolveWithFactors(factors, y1, y2, c1, c2, control, failed);
      ASSERT_FALSE(failed);
      EXPECT_TRUE(SameBits(x1, y1) && SameBits(x2, y2));
      ComplexVector original1, original2;
      CreateVector(original1, p, failed), CreateVector(original2, q, failed);
      FillVector(original1, 300 + rhs), FillVector(original2, 400 + rhs);
      EXPECT_TRUE(SameBits(c1, original1) && SameBits(c2, original2));
    }
  }
}

TEST_F(LuFactorsTest, MismatchedOrUnfinishedFactorsRefuseToSolve) {
  ComplexMatrix m;
  RandomMatrix(m, 5, 5, 1, failed);
  ComplexVector x, b, shorter;
  CreateVector(x, 5, failed), CreateVector(b, 5, failed), CreateVector(shorter, 4, failed);
  FillVector(b, 2);

  LuFactors none;  // never factorised
  LUSolveWithFactors(none, x, b, control, failed);
  EXPECT_TRUE(failed);

  LuFactors factors;
  LUFactor(m, factors, control, failed);
  ASSERT_FALSE(failed);
  LUSolveWithFactors(factors, shorter, b, control, failed);
  EXPECT_TRUE(failed);
  for (std::int32_t i = 1; i <= 5; ++i) EXPECT_EQ(x(i), (Complex{0, 0}));

  ComplexVector empty;
  BlockLUSolveWithFactors(factors, x, empty, b, shorter, control, failed);
  EXPECT_TRUE(failed);

  ComplexMatrix wide;
  CreateMatrix(wide, 3, 4, failed);
  LUFactor(wide, factors, control, failed);
  EXPECT_EQ(std::tie(failed, factors.Ready), std::make_tuple(true, false));
}

TEST_F(LuFactorsTest, SingularMatrixFailsAndAbortLeavesNoFactors) {
  ComplexMatrix singular;
  RandomMatrix(singular, 4, 4, 3, failed);
  for (std::int32_t j = 1; j <= 4; ++j) singular(2, j) = {0, 0};  // a row of zeros
  LuFactors factors;
  LUFactor(singular, factors, control, failed);
  EXPECT_EQ(std::tie(failed, factors.Ready), std::make_tuple(true, false));

  ui.abortAfterPolls = 2;
  ComplexMatrix large;
  RandomMatrix(large, 200, 200, 4, failed);
  LUFactor(large, factors, control, failed);
  EXPECT_EQ(std::tie(failed, control.AbortRequested, factors.Ready),
            std::make_tuple(false, true, false));
}

}  // namespace
}  // namespace lumetra
