#include <gtest/gtest.h>

#include <cmath>

#include "solver/complex_arithmetic.h"
#include "solver/complex_storage.h"

namespace lumetra {
namespace {

TEST(ComplexArithmetic, SmithDivisionAndScaledModulusSurviveExtremeMagnitudes) {
  const Complex q = CDiv({1, 2}, {3, -4});  // (1+2j)/(3-4j) = (-5+10j)/25
  EXPECT_DOUBLE_EQ(q.Re, -0.2);
  EXPECT_DOUBLE_EQ(q.Im, 0.4);
  const Complex q2 = CDiv({1, 2}, {1e-3, 4});  // the |Im| > |Re| branch
  EXPECT_NEAR(q2.Re, (1 * 1e-3 + 2 * 4) / (1e-6 + 16), 1e-15);
  EXPECT_NEAR(q2.Im, (2 * 1e-3 - 1 * 4) / (1e-6 + 16), 1e-15);
  // |b|^2 would overflow here; Smith's method does not.
  const Complex big = CDiv({1e300, 1e300}, {2e300, 2e300});
  EXPECT_DOUBLE_EQ(big.Re, 0.5);
  EXPECT_DOUBLE_EQ(big.Im, 0.0);

  EXPECT_EQ(CAbs({3, 4}), 5.0);
  EXPECT_EQ(CAbs({-4, 3}), 5.0);
  EXPECT_EQ(CAbs({0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(CAbs({1e200, 1e200}), std::sqrt(2.0) * 1e200);
  EXPECT_DOUBLE_EQ(CAbs({1e-200, 1e-200}), std::sqrt(2.0) * 1e-200);

  const Complex p = CMul({1, 2}, {3, -4});
  EXPECT_EQ(p, (Complex{11, 2}));
  EXPECT_EQ(CSub({1, 2}, {3, -4}), (Complex{-2, 6}));
}

// The storage takes sizes beyond the default limit of unknowns: the computation
// checks the user's limit and the memory before it creates a system.
TEST(ComplexStorage, ZeroFillAndSizesBeyondTheDefaultLimit) {
  bool failed = false;
  ComplexMatrix m;
  CreateMatrix(m, 2001, 3, failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(m(2001, 3), (Complex{0, 0}));

  CreateMatrix(m, 3, 2, failed);
  ASSERT_FALSE(failed);
  EXPECT_EQ(m.Rows(), 3);
  EXPECT_EQ(m.Cols(), 2);
  EXPECT_EQ(m(3, 2), (Complex{0, 0}));
  FreeMatrix(m);
  EXPECT_EQ(m.Rows(), 0);
  EXPECT_EQ(m.Cols(), 0);

  CreateMatrix(m, 0, 5, failed);  // no rows: only the counts
  EXPECT_FALSE(failed);
  EXPECT_EQ(m.Cols(), 5);

  ComplexVector v;
  CreateVector(v, 2001, failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(v.Count(), 2001);
  EXPECT_EQ(v(2001), (Complex{0, 0}));
  FreeVector(v);
  EXPECT_EQ(v.Count(), 0);

  BlockSystem s;
  s.Create(1000, 1001, failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(s.D(1001, 1001), (Complex{0, 0}));
  EXPECT_EQ(&s.D(1, 1) - &s.A(1, 1), 1000 * 2001 + 1000);  // one block of order 2001
  s.Create(-1, 3, failed);
  EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace lumetra
