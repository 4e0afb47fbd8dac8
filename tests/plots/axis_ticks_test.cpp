#include "plots/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

#include "plots/current_graph.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
  std::vector<std::string> labels;
  for (const AxisTick& t : ticks) labels.push_back(t.Label);
  return labels;
}

TEST(AxisTicks, RoundStepsInPlainNumbers) {
  // Exactly a round step (1.0 in 10) is not doubled.
  testing::ExpectDoublesEq(
      {TickStep(10.0, 5), TickStep(0.188, 8), TickStep(95.0, 10), TickStep(1.0, 10)},
      {2.0, 0.05, 10.0, 0.1});
  // A current density from zero: 0, 0.05, ... 0.15 A/m.
  EXPECT_EQ(Labels(AxisTicks(0.0, 0.188, 8)),
            (std::vector<std::string>{"0.00", "0.05", "0.10", "0.15"}));
  // A row along x from 52.5 to 147.5 mm.
  EXPECT_EQ(Labels(AxisTicks(52.5, 147.5, 10)),
            (std::vector<std::string>{"60", "70", "80", "90", "100", "110", "120", "130",
                                      "140"}));
  // Both ends included, no "-0".
  EXPECT_EQ(Labels(AxisTicks(-180.0, 180.0, 4)),
            (std::vector<std::string>{"-100", "0", "100"}));
  EXPECT_EQ(Labels(AxisTicks(-1.0, 1.0, 4)),
            (std::vector<std::string>{"-1.0", "-0.5", "0.0", "0.5", "1.0"}));
}

TEST(AxisTicks, TinyAndHugeValuesInExponentForm) {
  EXPECT_EQ(Labels(AxisTicks(0.0, 3e-6, 3)),
            (std::vector<std::string>{"0", "1e-06", "2e-06", "3e-06"}));
  EXPECT_EQ(AxisTicks(0.0, 4e6, 2).back().Label, "4e+06");
  for (auto [low, high] : {std::pair{1.0, 1.0}, {2.0, 1.0}, {0.0, std::nan("")}, {0.0, INFINITY}})
    EXPECT_TRUE(AxisTicks(low, high).empty()) << low << " " << high;
}

TEST(CurrentGraphUnits, AxesFromZeroWithUnits) {
  GraphData g;
  g.Points = {{0, 1, 0.02}, {2, 1, 0.19}};
  g.YMin = 0.02;
  g.YMax = 0.19;
  IncludeZero(g, GraphQuantity::Amplitude);
  EXPECT_EQ(std::tie(g.YMin, g.YMax), std::make_tuple(0.0, 0.19));
  GraphData negative = g;
  negative.YMin = -3;
  negative.YMax = -1;
  IncludeZero(negative, GraphQuantity::Real);
  EXPECT_EQ(negative.YMax, 0.0);
  GraphData phase = g;
  phase.YMin = 10;
  phase.YMax = 40;
  IncludeZero(phase, GraphQuantity::Phase);
  EXPECT_EQ(phase.YMin, 10.0);
  EXPECT_EQ(GraphXAxisTitle({1, 0, true}) + GraphXAxisTitle({1, 0, false}), "x [mm]y [mm]");
  EXPECT_EQ(GraphYAxisTitle({1, 0, true}, GraphQuantity::Amplitude), "|Jx| [A/m]");
  EXPECT_EQ(GraphYAxisTitle({1, 0, false}, GraphQuantity::Phase), "Phase of Jy [deg]");
  EXPECT_EQ(GraphYAxisTitle({1, 0, false}, GraphQuantity::TotalCurrent), "|Iy| [A]");
  EXPECT_EQ(TitleWithFrequency("Jx-current [A/m] in segment 1", "300"),
            "Jx-current [A/m] in segment 1 at 300 MHz");
}

}  // namespace
}  // namespace lumetra
