#include <gtest/gtest.h>

#include "studies/frequency_plan.h"

namespace lumetra {
namespace {

TEST(FrequencyPlan, SweepsStopAtTheLastValueNotAboveTheStop) {
  EXPECT_EQ(SweepFrequencies({100, 1000, 2, true}), (std::vector<double>{100, 200, 400, 800}));
  EXPECT_EQ(SweepFrequencies({250, 250, 10, false}), (std::vector<double>{250}));
  EXPECT_EQ(SweepFrequencies({100, 130, 10, false}), (std::vector<double>{100, 110, 120, 130}));
  // 0.1 + 0.1 + 0.1 lands a rounding error above 0.3: that point is omitted.
  EXPECT_EQ(SweepFrequencies({0.1, 0.3, 0.1, false}).size(), 2u);
  EXPECT_EQ(CountSweepFrequencies({100, 1000, 2, true}), 4u);
  // A step too small to change the value ends the sweep rather than looping.
  EXPECT_EQ(SweepFrequencies({1e6, 2e6, 1e-12, false}).size(), 1u);
}

}  // namespace
}  // namespace lumetra
