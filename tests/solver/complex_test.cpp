#include <gtest/gtest.h>

#include <cmath>

#include "solver/complex_arithmetic.h"
#include "solver/complex_storage.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

// Smith's division and the scaled modulus where the plain formulas over- or underflow.
TEST(ComplexArithmetic, SmithDivisionAndScaledModulusSurviveExtremeMagnitudes) {
  const Complex p = CDiv({1, 2}, {3, -4});  // (1+2j)/(3-4j) = (-5+10j)/25
  testing::ExpectDoublesEq({p.Re, p.Im}, {-0.2, 0.4});
  const Complex q = CDiv({1, 2}, {1e-3, 4});  // the |Im| > |Re| branch
  testing::ExpectNear({q.Re, q.Im},
                      {(1 * 1e-3 + 2 * 4) / (1e-6 + 16), (2 * 1e-3 - 1 * 4) / (1e-6 + 16)}, 1e-15);
  EXPECT_EQ(CDiv({1e300, 1e300}, {2e300, 2e300}), (Complex{0.5, 0.0}));  // |b|^2 would overflow
  testing::ExpectDoublesEq({CAbs({1e200, 1e200}), CAbs({1e-200, 1e-200})},
                           {std::sqrt(2.0) * 1e200, std::sqrt(2.0) * 1e-200});
}

// The storage takes sizes beyond the default limit of unknowns (the computation
// checks the user's limit and the memory first) and starts zeroed.
TEST(ComplexStorage, ZeroFillAndSizesBeyondTheDefaultLimit) {
  bool failed = false;
  ComplexMatrix m;
  CreateMatrix(m, 2001, 3, failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(m(2001, 3), (Complex{0, 0}));
  BlockSystem s;
  s.Create(1000, 1001, failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(s.D(1001, 1001), (Complex{0, 0}));
  s.Create(-1, 3, failed);
  EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace lumetra
