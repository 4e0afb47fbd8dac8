// The search for the upper limit of the real-axis integration: its cap and its
// order in the tolerance.
#include <gtest/gtest.h>

#include "tests/velkor/kernel_calls.h"

namespace velkor_test {
namespace {

// Where the search stops, on a falling and on a rising start, is held to the
// transcription in reference_kernels (MaxKrAgreement); here its limits.
TEST(MaxKr, ModulusThatNeverFallsGivesTheSearchLimit) {
  EXPECT_EQ(_maxkr(1.0, 4.5, 1.6e-3, 0.5e-3, 0.01), 5000.0 * wavenumber(1.0));
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
