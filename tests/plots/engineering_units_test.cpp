#include "plots/engineering_units.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "plots/pattern_units.h"
#include "plots/port_table.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

TEST(EngineeringUnits, PortImpedanceIsVoltageOverCurrent) {
  // 1 V driving (0.01 - j0.01) A: Z = 100 / (1 - j) = 50 + j50 ohm.
  const std::optional<Complex> z = PortImpedance({1.0, 0.0}, Complex{0.01, -0.01});
  ASSERT_TRUE(z);
  // And a 2 V source and a real 40 mA current: 50 ohm.
  testing::ExpectNear({z->Re, z->Im, PortImpedance({2.0, 0.0}, Complex{0.04, 0.0})->Re},
                      {50.0, 50.0, 50.0}, 1e-12);
  // No current (element outside the system) or a zero current: no finite impedance.
  EXPECT_FALSE(PortImpedance({1.0, 0.0}, std::nullopt));
  EXPECT_FALSE(PortImpedance({1.0, 0.0}, Complex{0.0, 0.0}));
}

TEST(EngineeringUnits, ReflectionAgainstFiftyOhm) {
  // A matched port reflects nothing: -inf dB, shown as such.
  EXPECT_EQ(ReflectionMagnitude({50.0, 0.0}), 0.0);
  EXPECT_TRUE(std::isinf(ReflectionDb({50.0, 0.0})));
  EXPECT_LT(ReflectionDb({50.0, 0.0}), 0.0);
  EXPECT_EQ(FormatDb(ReflectionDb({50.0, 0.0})), "-inf");
  // 100 ohm and 25 ohm both give |Gamma| = 1/3: 20 log10(1/3) = -9.542 dB.
  EXPECT_NEAR(ReflectionMagnitude({100.0, 0.0}), 1.0 / 3.0, 1e-15);
  EXPECT_NEAR(ReflectionDb({100.0, 0.0}), -9.5424250944, 1e-9);
  EXPECT_NEAR(ReflectionCoefficient({25.0, 0.0}).Re, -1.0 / 3.0, 1e-15);
  EXPECT_NEAR(ReflectionDb({25.0, 0.0}), -9.5424250944, 1e-9);
  EXPECT_EQ(FormatDb(ReflectionDb({100.0, 0.0})), "-9.54");
  // 50 + j50: Gamma = j50 / (100 + j50) = 0.2 + j0.4, |Gamma|^2 = 0.2: -6.990 dB.
  const Complex g = ReflectionCoefficient({50.0, 50.0});
  testing::ExpectNear({g.Re, g.Im}, {0.2, 0.4}, 1e-15);
  EXPECT_NEAR(ReflectionDb({50.0, 50.0}), 10.0 * std::log10(0.2), 1e-12);
  // A short and a pure reactance reflect everything: 0 dB.
  testing::ExpectNear({ReflectionDb({0.0, 0.0}), ReflectionDb({0.0, 123.0})}, {0.0, 0.0}, 1e-12);
  EXPECT_EQ(FormatDb(ReflectionDb({0.0, 123.0})), "0.00");
  // -50 ohm cancels the reference: no finite reflection, and no crash.
  EXPECT_TRUE(std::isinf(ReflectionDb({-50.0, 0.0})));
  EXPECT_EQ(FormatDb(ReflectionDb({-50.0, 0.0})), "inf");
}

TEST(EngineeringUnits, FarFieldAmplitudeAsFieldStrengthAtDistance) {
  // A = |E| r = 1 V seen at 3 m: 1/3 V/m = 333 333 uV/m = 110.458 dBuV/m.
  EXPECT_NEAR(FieldStrengthVPerM(1.0, 3.0), 1.0 / 3.0, 1e-15);
  EXPECT_NEAR(FieldStrengthDbuVPerM(1.0, 3.0), 110.4575749056, 1e-9);
  // 1 mV at 10 m: 100 uV/m = 40 dBuV/m; at 1 m: 1 mV/m = 60 dBuV/m.
  // Ten times the distance is 20 dB less.
  testing::ExpectNear({FieldStrengthDbuVPerM(1e-3, 10.0), FieldStrengthDbuVPerM(1e-3, 1.0),
                       FieldStrengthDbuVPerM(0.37, 3.0) - FieldStrengthDbuVPerM(0.37, 30.0)},
                      {40.0, 60.0, 20.0}, 1e-12);
  // No field is -inf dB; a distance that is not positive has no field strength.
  EXPECT_TRUE(std::isinf(FieldStrengthDbuVPerM(0.0, 3.0)));
  EXPECT_TRUE(std::isnan(FieldStrengthVPerM(1.0, 0.0)));
  EXPECT_TRUE(std::isnan(FieldStrengthDbuVPerM(1.0, -3.0)));
  EXPECT_EQ(FormatDb(FieldStrengthDbuVPerM(1.0, 0.0)), "");
  EXPECT_EQ(FormatDb(FieldStrengthDbuVPerM(1.0, 3.0), 1), "110.5");
}

TEST(EngineeringUnits, DbTextHasNoNegativeZero) {
  EXPECT_EQ(FormatDb(-0.001) + " " + FormatDb(-0.006), "0.00 -0.01");
}

TEST(PatternUnits, RingsCarryTheirValuesAndUnits) {
  // Linear field: fifths of the maximum in V.
  EXPECT_EQ(RingLabels(0.5, PatternQuantity::ETot, false, 10, std::nullopt),
            (std::vector<std::string>{"0.1 V", "0.2 V", "0.3 V", "0.4 V", "0.5 V"}));
  // Small amplitudes: every ring in the same exponent form.
  EXPECT_EQ(RingLabels(2.582e-4, PatternQuantity::ETheta, false, 10, std::nullopt),
            (std::vector<std::string>{"5.16e-05 V", "1.03e-04 V", "1.55e-04 V", "2.07e-04 V",
                                      "2.58e-04 V"}));
  // Linear gain: a plain ratio.
  EXPECT_EQ(RingLabels(1.64, PatternQuantity::Gain, false, 10, std::nullopt).back(), "1.64");
  // Log field, 10 dB/div, no distance: 1 V is 0 dBV at the outer ring.
  EXPECT_EQ(RingLabels(1.0, PatternQuantity::ETheta, true, 10, std::nullopt),
            (std::vector<std::string>{"-40.0 dBV", "-30.0 dBV", "-20.0 dBV", "-10.0 dBV",
                                      "0.0 dBV"}));
  // Log field at 3 m: 1 V -> 110.46 dBuV/m outside, 5 dB less per ring inwards.
  const auto at3m = RingLabels(1.0, PatternQuantity::EPhi, true, 5, 3.0);
  EXPECT_EQ(std::tie(at3m.front(), at3m.back()), std::make_tuple("90.5 dBuV/m", "110.5 dBuV/m"));
  // Log gain: a half-wave dipole's 1.64 is 2.15 dBi.
  const auto dbi = RingLabels(1.64, PatternQuantity::Gain, true, 2, 3.0);
  EXPECT_EQ(std::tie(dbi[3], dbi.back()), std::make_tuple("0.1 dBi", "2.1 dBi"));
}

TEST(PatternUnits, FieldStrengthBesideTheAmplitude) {
  EXPECT_EQ(FieldStrengthLabel(1.0, PatternQuantity::ETot, 3.0), "At 3 m: 110.46 dBuV/m (max)");
  EXPECT_EQ(FieldStrengthLabel(1e-3, PatternQuantity::ETheta, 10.0),
            "At 10 m: 40.00 dBuV/m (max)");
  EXPECT_EQ(FieldStrengthLabel(1.0, PatternQuantity::Gain, 3.0), "");
  EXPECT_EQ(std::make_tuple(ParseDistance(" 3 "), ParseDistance("0.5")), std::make_tuple(3.0, 0.5));
  for (const char* refused : {"0", "-3", "3m", "", "inf"}) EXPECT_FALSE(ParseDistance(refused));
  EXPECT_EQ(AngleNote(CutKind::PhiConstant), "Angle: Theta [deg], 0 = board normal (+z)");
}

FrequencyPointResult Point(double f, std::vector<SourceReading> sources) {
  FrequencyPointResult p;
  p.FrequencyMHz = f;
  p.Sources = std::move(sources);
  return p;
}

TEST(PortTable, RowsAreGroupedBySourceInRunOrder) {
  const std::vector<FrequencyPointResult> points = {
      Point(300, {{1, {1, 0}, Complex{0.02, 0}}, {2, {1, 0}, Complex{0.01, 0}}}),
      Point(100, {{1, {1, 0}, Complex{0.01, -0.01}}, {2, {1, 0}, std::nullopt}})};
  const std::vector<PortRow> rows = PortRows(points);
  ASSERT_EQ(rows.size(), 4u);
  std::vector<std::pair<std::int32_t, double>> order;
  for (const PortRow& row : rows) order.emplace_back(row.Source, row.FrequencyMHz);
  EXPECT_EQ(order,
            (std::vector<std::pair<std::int32_t, double>>{{1, 300}, {1, 100}, {2, 300}, {2, 100}}));
  testing::ExpectNear({rows[0].Impedance->Re, rows[2].Impedance->Re}, {50.0, 100.0}, 1e-12);
  EXPECT_FALSE(rows[3].Impedance);
  EXPECT_EQ(PortSources(rows), (std::vector<std::int32_t>{1, 2}));

  const PortCells matched = FormatPortRow(rows[0]);
  EXPECT_EQ(std::tie(matched.Frequency, matched.Current, matched.Impedance, matched.ReflectionDb),
            std::make_tuple("300", "2.000e-02 + j0.000e+00", "50.00 + j0.00", "-inf"));
  const PortCells inductive = FormatPortRow(rows[1]);
  EXPECT_EQ(
      std::tie(inductive.Current, inductive.CurrentMagnitude, inductive.Impedance,
               inductive.ImpedanceMagnitude, inductive.ReflectionDb),
      std::make_tuple("1.000e-02 - j1.000e-02", "1.414e-02", "50.00 + j50.00", "70.71", "-6.99"));
  EXPECT_EQ(FormatPortRow(rows[2]).ReflectionDb, "-9.54");
  const PortCells open = FormatPortRow(rows[3]);
  EXPECT_EQ(std::tie(open.Current, open.Impedance, open.ReflectionDb),
            std::make_tuple("-", "-", "-"));
}

TEST(PortTable, CsvHasUnitsCrLfAndPointDecimalsInEveryLocale) {
  // A locale with a decimal comma must not leak into the file.
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  const std::vector<PortRow> rows = {{123.5, 1, Complex{0.01, -0.01}, Complex{50, 50}},
                                     {200, 2, std::nullopt, std::nullopt}};
  const std::string csv = PortTableCsv(rows);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(csv,
            "Frequency [MHz],Source,Re(I) [A],Im(I) [A],|I| [A],R [ohm],X [ohm],|Z| [ohm],"
            "Reflection to 50 ohm [dB]\r\n"
            "123.5,1,0.01,-0.01,0.01414213562,50,50,70.71067812,-6.990\r\n"
            "200,2,,,,,,,\r\n");
  if (!german) GTEST_LOG_(INFO) << "de_DE locale missing: only the C locale was checked";
}

}  // namespace
}  // namespace lumetra
