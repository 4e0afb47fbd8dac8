#include "plots/pattern_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "fields/result_files.h"
#include "plots/pattern_print.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

// A block of theta 0..90 step 45 (outer) and phi 0, 90 (inner) with given fields.
ResultBlock SmallBlock() {
  ResultBlock b;
  b.Frequency = 100;
  b.FieldsPerLine = 4;
  b.Values = {0,  0,  1.0, 0.0,  //
              0,  90, 0.0, 1.0,  //
              45, 0,  0.5, 0.0,  //
              45, 90, 0.0, 2.0,  //
              90, 0,  0.0, 0.0,  //
              90, 90, 3.0, 4.0};
  return b;
}

TEST(PatternData, ExponentFormHasFourDigitsAndShortestExponent) {
  std::vector<std::string> texts;
  for (double x : {1234.6, 0.0002, -2.5e-12, 0.0, 1e100}) texts.push_back(FormatExponent4(x));
  EXPECT_EQ(texts, (std::vector<std::string>{"1.235E+3", "2.000E-4", "-2.500E-12", "0.000E+0",
                                             "1.000E+100"}));
}

TEST(PatternData, PhiCutRunsOverThetaAndThetaCutOverPhi) {
  const ResultBlock b = SmallBlock();
  auto phiCut = ExtractCut(b, CutKind::PhiConstant, 90, PatternQuantity::EPhi, -1);
  ASSERT_EQ(phiCut.size(), 3u);
  auto thetaCut = ExtractCut(b, CutKind::ThetaConstant, 90, PatternQuantity::ETot, -1);
  ASSERT_EQ(thetaCut.size(), 2u);
  testing::ExpectDoublesEq({phiCut[1].Angle, phiCut[1].Value, thetaCut[1].Angle, thetaCut[1].Value},
                           {45, 2.0, 90, 5.0});
  // An angle not in the file gives no point: the match is exact.
  EXPECT_TRUE(ExtractCut(b, CutKind::ThetaConstant, 45.0000001, PatternQuantity::ETot, -1).empty());
}

TEST(PatternData, GainNeedsAPositiveInputPower) {
  const ResultBlock b = SmallBlock();
  EXPECT_EQ(std::make_tuple(GainAvailable(-1), GainAvailable(0), GainAvailable(1e-3)),
            std::make_tuple(false, false, true));
  // Without input power the gain is not divided by zero: there is no cut.
  EXPECT_TRUE(ExtractCut(b, CutKind::ThetaConstant, 90, PatternQuantity::Gain, 0).empty());
  EXPECT_TRUE(ExtractCut(b, CutKind::ThetaConstant, 90, PatternQuantity::Gain, -1).empty());
  auto gain = ExtractCut(b, CutKind::ThetaConstant, 90, PatternQuantity::Gain, 0.5);
  ASSERT_EQ(gain.size(), 2u);
  EXPECT_DOUBLE_EQ(gain[1].Value, 25.0 / 30.0);
}

TEST(PatternData, LinearScaleIsFiveDivisionsOfAFifthOfTheMaximum) {
  const std::vector<PatternPoint> points = {{1.0, 0}, {4.0, 10}, {2.0, 20}};
  const ScaledCut field = ScaleCut(points, PatternQuantity::ETheta, false, 10);
  // The maximum on the rim.
  testing::ExpectDoublesEq(
      {field.Maximum, field.R[1] * field.PixelsPerUnit, field.R[0] * field.PixelsPerUnit},
      {4.0, 1.0, 0.25});
  EXPECT_EQ(std::tie(*field.ScaleLabel, field.MaximumLabel),
            std::make_tuple("Scale: Linear 8.000E-1 [V/div]", "Max: 4.000E+0 [V]"));
  const ScaledCut gain = ScaleCut(points, PatternQuantity::Gain, false, 10);
  EXPECT_EQ(std::tie(*gain.ScaleLabel, gain.MaximumLabel),
            std::make_tuple("Scale: Linear 8.000E-1 [/div]", "Max: 4.000E+0"));
}

TEST(PatternData, LogScalePutsTheMaximumAt50AndTheFloorAtTheCentre) {
  // Field: 10 dB/div, 20 dB below the maximum is two divisions down.
  const std::vector<PatternPoint> points = {{1.0, 0}, {0.1, 10}, {0.00316, 20}, {0.0, 30}};
  const ScaledCut field = ScaleCut(points, PatternQuantity::ETot, true, 10);
  // -50 dB is on the floor, and zero does not reach the logarithm.
  testing::ExpectDoublesEq({field.R[0], field.R[2], field.R[3], field.PixelsPerUnit * 50},
                           {50.0, 0.0, 0.0, 1.0});
  EXPECT_NEAR(field.R[1], 30.0, 1e-12);
  EXPECT_FALSE(field.ScaleLabel.has_value());
  EXPECT_EQ(field.MaximumLabel, "Max: 0.000E+0 [dB]");
  // Gain: a tenth of the maximum is 10 dB, one division at 10 dB/div.
  const ScaledCut gain = ScaleCut({{2.0, 0}, {0.2, 1}, {2e-5, 2}}, PatternQuantity::Gain, true, 10);
  EXPECT_NEAR(gain.R[1], 40.0, 1e-12);
  EXPECT_DOUBLE_EQ(gain.R[2], 0.0);
  EXPECT_EQ(gain.MaximumLabel, "Max: 3.010E+0 [dB]");
  // 5 dB/div: a field ten times lower is 20 dB, four divisions down.
  EXPECT_NEAR(ScaleCut({{1, 0}, {0.1, 1}}, PatternQuantity::EPhi, true, 5).R[1], 10.0, 1e-12);
}

TEST(PatternData, CutDialogListsComeFromTheFirstBlock) {
  const CutAngleLists lists = CutAngles(SmallBlock());
  EXPECT_EQ(lists.Theta, (std::vector<double>{0, 45, 90}));
  EXPECT_EQ(lists.Phi, (std::vector<double>{0, 90}));
}

TEST(PatternData, PrintLinesNameTheCutScaleAndSource) {
  PatternPrintout p;
  p.ThetaCut = true;
  p.CutAngle = 90;
  p.LogScale = true;
  p.Maximum = 10;
  p.FrequencyMHz = 300;
  p.ProjectFile = "/x/board.PRO";
  const auto lines = PatternPrintLines(p);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(
      lines,
      (std::vector<std::string>{
          "Normalised radiation pattern cut as a function of Phi",
          "Plot selection: Theta=90 ;  Logarithmic scale: 10 dB/div  (max. value=2.000E+1 dB)",
          "Frequency: 300 MHz", "Field component: ETheta", "Source file: /x/board.PRO"}));
}

// A half-wave strip dipole along x: its gain is about 1.64 (2.15 dBi) broadside
// and it has a null along its own axis (theta 90 in the cut phi = 0).
TEST(PatternData, HalfWaveDipoleMaximumGainLabelAndAxialNull) {
  testing::TempDir dir;
  testing::RecordingUi ui;
  Project dipole = testing::StripDipole(dir, 100, 1, 50);
  const ComputationSettings s =
      testing::WithFarField(testing::SingleFrequency(1430), {0, 90, 2}, {0, 360, 90});
  const ComputationReport report = testing::Compute(dipole, s, ui, dir);
  ASSERT_GT(report.InputPower, 0.0);
  const auto block = FindBlock(dir / "strip.RAD", 1430, FarFieldFileFields);
  ASSERT_TRUE(block.has_value());
  const auto gain =
      ExtractCut(*block, CutKind::PhiConstant, 0, PatternQuantity::Gain, report.InputPower);
  ASSERT_EQ(gain.size(), 46u);
  const ScaledCut log = ScaleCut(gain, PatternQuantity::Gain, true, 10);
  const double maxDb = 10 * std::log10(log.Maximum);
  EXPECT_NEAR(maxDb, 2.15, 0.15);
  EXPECT_EQ(log.MaximumLabel, "Max: " + FormatExponent4(maxDb) + " [dB]");
  EXPECT_EQ(log.MaximumLabel.substr(0, 7), "Max: 2.");
  // The maximum broadside, the null along the axis.
  testing::ExpectDoublesEq({gain.front().Angle, gain.front().Value, log.R.back()},
                           {0.0, log.Maximum, 0.0});
  EXPECT_LT(gain.back().Value, 1e-6 * log.Maximum);
  // The field quantity of the same cut: 20 log10 of the largest |E| in V.
  const auto field = ExtractCut(*block, CutKind::PhiConstant, 0, PatternQuantity::ETheta, -1);
  const ScaledCut fieldLog = ScaleCut(field, PatternQuantity::ETheta, true, 10);
  EXPECT_NEAR(std::pow(10, (20 * std::log10(fieldLog.Maximum)) / 10) / (60 * report.InputPower),
              log.Maximum, 1e-3 * log.Maximum);
}

}  // namespace
}  // namespace lumetra
