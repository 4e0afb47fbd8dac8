// The plot utility's curves of a Touchstone file: the entry names in the file's
// column order and the dB level of a magnitude (and of none). The four curves of
// an entry are checked as the window plots them (gui/plot_utility_test).
#include "plots/touchstone_curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace lumetra {
namespace {

using network::Cplx;

network::TouchstoneData Network(std::size_t ports, network::NetworkParameter parameter) {
  network::TouchstoneData data;
  data.Ports = ports;
  data.Parameter = parameter;
  data.FrequenciesMHz = {10, 20};
  for (double f : data.FrequenciesMHz) {
    network::PortMatrix m(ports);
    for (std::size_t i = 0; i < ports; ++i)
      for (std::size_t j = 0; j < ports; ++j) m(i, j) = Cplx(f * (i + 1), -(j + 1.0));
    data.Matrices.push_back(m);
  }
  return data;
}

TEST(TouchstoneCurves, EntriesAreNamedColumnByColumn) {
  const auto entries = TouchstoneEntries(Network(3, network::NetworkParameter::Z));
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_EQ(std::tie(entries[0].Name, entries[1].Name, entries[3].Name, entries[8].Name),
            std::make_tuple("Z11", "Z21", "Z12", "Z33"));
  EXPECT_EQ(std::tie(entries[1].Row, entries[1].Column), std::make_tuple(1u, 0u));
  // From ten ports on the two numbers are separated, or S1,11 and S11,1 would read alike.
  const auto wide = TouchstoneEntries(Network(11, network::NetworkParameter::S));
  ASSERT_EQ(wide.size(), 121u);
  EXPECT_EQ(std::tie(wide[10].Name, wide[11].Name), std::make_tuple("S11,1", "S1,2"));
}

TEST(TouchstoneCurves, LevelInDbWithAFloorForNothing) {
  EXPECT_DOUBLE_EQ(MagnitudeDb(1.0), 0.0);
  EXPECT_NEAR(MagnitudeDb(0.5), -6.0205999132796239, 1e-12);
  EXPECT_NEAR(MagnitudeDb(10.0), 20.0, 1e-12);
  for (double nothing : {0.0, 1e-300, std::nan("")}) EXPECT_EQ(MagnitudeDb(nothing), -400.0);
}

}  // namespace
}  // namespace lumetra
