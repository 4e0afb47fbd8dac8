// The search for the upper limit of the real-axis integration, checked against the
// modulus M(beta) = |intxx(beta, alpha = 0)| of coincident square elements, which the
// library exposes through _testintxx.
#include <gtest/gtest.h>

#include "tests/velkor/kernel_calls.h"

namespace velkor_test {
namespace {

struct Search {
  double f, er, h, a, tol;

  double k0() const { return wavenumber(f); }
  double step() const { return 0.5 * k0(); }
  double sample(int n) const { return er * k0() + n * step(); }
  double modulus(double beta) const {
    const Pair square{0, 0, a, a, a};
    return std::abs(integrand(_testintxx, k0(), beta, 0.0, er, h, square));
  }
  double run() const { return _maxkr(f, er, h, a, tol); }
};

TEST(MaxKr, FallingStartStopsOneStepPastTheFirstSampleAtOrBelowTolerance) {
  const Search s{5000.0, 4.5, 1.6e-3, 0.5e-3, 0.01};
  const double start = s.modulus(s.sample(0));
  ASSERT_LT(s.modulus(s.sample(1)), start) << "the case must fall from the start";
  int first_below = 2;  // the search begins two steps out
  while (s.modulus(s.sample(first_below)) > s.tol * start) ++first_below;
  EXPECT_NEAR(s.run(), s.sample(first_below + 1), 1e-9 * s.run());
}

TEST(MaxKr, RisingStartReturnsOneStepPastTheFirstSmallLocalMaximum) {
  const Search s{1000.0, 4.5, 1.6e-3, 0.5e-3, 0.01};
  ASSERT_GE(s.modulus(s.sample(1)), s.modulus(s.sample(0))) << "the case must rise first";
  int falling = 1;
  while (s.modulus(s.sample(falling)) > s.modulus(s.sample(falling - 1))) ++falling;
  const double peak = s.modulus(s.sample(falling - 1));
  // Local maxima of the oscillating modulus after the peak, the first one below tol times
  // the peak ends the search.
  int n = falling;
  for (;; ++n) {
    const double m = s.modulus(s.sample(n));
    if (m > s.modulus(s.sample(n - 1)) && m > s.modulus(s.sample(n + 1)) && m < s.tol * peak) break;
  }
  EXPECT_NEAR(s.run(), s.sample(n + 1), 1e-9 * s.run());
  EXPECT_GT(s.run(), 100.0 * s.k0());
}

TEST(MaxKr, ModulusThatNeverFallsGivesTheSearchLimit) {
  const Search s{1.0, 4.5, 1.6e-3, 0.5e-3, 0.01};
  EXPECT_EQ(s.run(), 5000.0 * s.k0());
}

TEST(MaxKr, StricterToleranceSearchesFurther) {
  for (double f : {1000.0, 5000.0})
    for (double a : {0.2e-3, 2e-3}) {
      const double loose = _maxkr(f, 4.5, 1.6e-3, a, 0.1);
      const double medium = _maxkr(f, 4.5, 1.6e-3, a, 0.01);
      const double strict = _maxkr(f, 4.5, 1.6e-3, a, 0.001);
      EXPECT_LE(loose, medium) << f << " " << a;
      EXPECT_LE(medium, strict) << f << " " << a;
    }
}

}  // namespace
}  // namespace velkor_test
