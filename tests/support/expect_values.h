// Several numbers a user reads checked in one call, each failure naming its place
// in the list.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace lumetra::testing {

// Each value equal to its expected one up to four units in the last place.
inline void ExpectDoublesEq(const std::vector<double>& actual,
                            const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_DOUBLE_EQ(actual[i], expected[i]) << "value " << i;
}

// Each value within an absolute tolerance of its expected one.
inline void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                       double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], tolerance) << "value " << i;
}

}  // namespace lumetra::testing
