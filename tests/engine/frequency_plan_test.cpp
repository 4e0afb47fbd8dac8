#include "studies/frequency_plan.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model/stepped_range.h"

namespace lumetra {
namespace {

TEST(FrequencyPlan, SweepsEndAtTheLastValueNotAboveTheStop) {
  EXPECT_EQ(SweepFrequencies({100, 1000, 2, true}), (std::vector<double>{100, 200, 400, 800}));
  EXPECT_EQ(SweepFrequencies({250, 250, 10, false}), (std::vector<double>{250}));
  EXPECT_EQ(SweepFrequencies({100, 130, 10, false}), (std::vector<double>{100, 110, 120, 130}));
  EXPECT_EQ(SweepFrequencies({100, 135, 10, false}).size(), 4u);
  EXPECT_EQ(CountSweepFrequencies({100, 1000, 2, true}), 4u);
  EXPECT_EQ(CountSweepFrequencies({100, 1000, 10, true}), 2u);  // 100 and 1000
}

TEST(FrequencyPlan, AStopOnTheStepIsKeptWhereRepeatedAdditionWouldDropIt) {
  // 0.1 + 0.1 + 0.1 lands a rounding error above 0.3, and 100 x 1.1^n drifts: the
  // points are counted as integers, so the stop point stays.
  const std::vector<double> tenths = SweepFrequencies({0.1, 0.3, 0.1, false});
  ASSERT_EQ(tenths.size(), 3u);
  EXPECT_NEAR(tenths.back(), 0.3, 1e-15);
  EXPECT_EQ(SweepFrequencies({100, 1000, 0.9, false}).size(), 1001u);
  const std::vector<double> log = SweepFrequencies({1, 1000, 10, true});
  EXPECT_EQ(log.size(), 4u);
  EXPECT_DOUBLE_EQ(log.back(), 1000);
  // Many small steps: 1 MHz to 1000 MHz by 0.01 MHz gives 99901 points, each the
  // start plus a whole number of steps.
  const std::vector<double> fine = SweepFrequencies({1, 1000, 0.01, false});
  ASSERT_EQ(fine.size(), 99901u);
  EXPECT_NEAR(fine[12345], 1 + 123.45, 1e-9);
  EXPECT_NEAR(fine.back(), 1000, 1e-9);
}

TEST(FrequencyPlan, ASweepTooFineToRunIsCountedButNotBuilt) {
  const auto over = static_cast<std::size_t>(MaxSweepPoints + 1);
  EXPECT_EQ(SweepFrequencies({1, 1000, 1e-6, false}).size(), over - 1);
  // Also a step too small to change the value, which repeated addition never got past.
  EXPECT_EQ(std::make_tuple(CountSweepFrequencies({1, 1000, 1e-6, false}),
                            CountSweepFrequencies({1e6, 2e6, 1e-12, false}),
                            CountSweepFrequencies({1e3, 1e4, 1 + 1e-17, true})),
            std::make_tuple(over, over, over));
}

TEST(SteppedRange, CountsGridPointsAsIntegers) {
  // The near-field case: 0 to 100 mm in steps of 5 mm, in metres.
  EXPECT_EQ(SteppedPointCount(0.0, 0.1, 0.005, 1000), 21);
  EXPECT_EQ(SteppedPointCount(0.0, 100.0, 5.0, 1000), 21);
  EXPECT_EQ(SteppedPointCount(0.0, 99.9, 5.0, 1000), 20);
  EXPECT_EQ(SteppedPointCount(-90, 90, 0.3, 10000), 601);
  EXPECT_EQ(SteppedPointCount(5, 5, 1, 10), 1);
  EXPECT_EQ(SteppedPointCount(6, 5, 1, 10), 0);
  EXPECT_EQ(SteppedPointCount(0, 1, 1e-6, 1000), 1001);  // saturated past the limit
  EXPECT_EQ(GeometricPointCount(100, 1000, 2, 100), 4);
  EXPECT_EQ(GeometricPointCount(100, 99, 2, 100), 0);
  EXPECT_NEAR(SteppedPoint(0.0, 0.005, 20), 0.1, 1e-17);
}

}  // namespace
}  // namespace lumetra
