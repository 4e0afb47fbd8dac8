// The texts of an immunity result a person reads first: the verdict line and the
// table's cells, with numbers worked by hand (20 log10 of the ratios).
#include <gtest/gtest.h>

#include "studies/immunity/immunity_outputs.h"

namespace lumetra {
namespace {

using namespace immunity;

// Two loads at two frequencies; load 2 takes 0.2 V at 100 MHz, the most of all.
ImmunityResult TwoLoads() {
  ImmunityResult r;
  r.Started = true;
  r.Ports = {{PortKind::Load, 1, true, 3}, {PortKind::Load, 2, true, 40}};
  const auto worst = [&](std::size_t port, double volts) {
    return PortWorst{r.Ports[port], volts, 2 * volts, 90.0, 45.0, Polarisation::Phi};
  };
  r.Points = {{100.0, {worst(0, 0.01), worst(1, 0.2)}}, {200.0, {worst(0, 0.02), worst(1, 0.05)}}};
  return r;
}

TEST(ImmunityOutputs, VerdictNamesTheLargestVoltageAgainstTheThreshold) {
  const ImmunityResult r = TwoLoads();
  // 0.2 V is 106.02 dBuV; against 0.1 V it is 6.02 dB over, against 1 V 13.98 dB under.
  EXPECT_EQ(ImmunityVerdict({r, 10.0, 0.1}),
            "Threshold exceeded: 0.2 V (106.0 dBuV) across load 2 at 100.00 MHz, 6.0 dB over 0.1 V");
  EXPECT_EQ(ImmunityVerdict({r, 10.0, 1.0}),
            "Below the threshold: 0.2 V (106.0 dBuV) across load 2 at 100.00 MHz, 14.0 dB under 1 V");
  EXPECT_EQ(ImmunityVerdict({r, 10.0, std::nullopt}), "Worst: 0.2 V (106.0 dBuV) across load 2 at 100.00 MHz");
  EXPECT_EQ(ImmunityVerdict({ImmunityResult{}, 10.0, 0.1}), "");
}

TEST(ImmunityOutputs, TableCellsFollowTheTerminalColumns) {
  const ImmunityResult r = TwoLoads();
  EXPECT_EQ(ImmunityTableCells(r.Points[0], r.Points[0].Ports[1], 0.1),
            (std::vector<std::string>{"100.00", "L2", "2.0000e-01", "106.0", "90.00", "45.00", "phi", "-6.0"}));
  EXPECT_EQ(ImmunityTableCells(r.Points[1], r.Points[1].Ports[0], std::nullopt).size(), 7u);
  EXPECT_EQ(ImmunityTableHeader(true).size(), 8u);
  EXPECT_EQ(ImmunityTableHeader(false).size(), 7u);
}

}  // namespace
}  // namespace lumetra
