#include "plots/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plots/current_graph.h"

namespace lumetra {
namespace {

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
  std::vector<std::string> labels;
  for (const AxisTick& t : ticks) labels.push_back(t.Label);
  return labels;
}

TEST(AxisTicks, RoundStepsInPlainNumbers) {
  EXPECT_DOUBLE_EQ(TickStep(10.0, 5), 2.0);
  EXPECT_DOUBLE_EQ(TickStep(0.188, 8), 0.05);
  EXPECT_DOUBLE_EQ(TickStep(95.0, 10), 10.0);
  EXPECT_DOUBLE_EQ(TickStep(1.0, 10), 0.1);  // exactly a round step is not doubled
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
  EXPECT_TRUE(AxisTicks(1.0, 1.0).empty());
  EXPECT_TRUE(AxisTicks(2.0, 1.0).empty());
  EXPECT_TRUE(AxisTicks(0.0, std::nan("")).empty());
  EXPECT_TRUE(AxisTicks(0.0, INFINITY).empty());
}

TEST(CurrentGraphUnits, AxesFromZeroWithUnits) {
  GraphData g;
  g.Points = {{0, 1, 0.02}, {2, 1, 0.19}};
  g.YMin = 0.02;
  g.YMax = 0.19;
  IncludeZero(g, GraphQuantity::Amplitude);
  EXPECT_EQ(g.YMin, 0.0);
  EXPECT_EQ(g.YMax, 0.19);
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
  EXPECT_EQ(GraphXAxisTitle({1, 0, true}), "x [mm]");
  EXPECT_EQ(GraphXAxisTitle({1, 0, false}), "y [mm]");
  EXPECT_EQ(GraphYAxisTitle({1, 0, true}, GraphQuantity::Amplitude), "|Jx| [A/m]");
  EXPECT_EQ(GraphYAxisTitle({1, 0, false}, GraphQuantity::Phase), "Phase of Jy [deg]");
  EXPECT_EQ(GraphYAxisTitle({1, 0, false}, GraphQuantity::TotalCurrent), "|Iy| [A]");
  EXPECT_EQ(TitleWithFrequency("Jx-current [A/m] in segment 1", "300"),
            "Jx-current [A/m] in segment 1 at 300 MHz");
}

}  // namespace
}  // namespace lumetra
