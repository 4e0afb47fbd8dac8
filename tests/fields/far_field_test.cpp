// The far field of solved currents: direction grid, single-moment formulas, the
// ground-plane image, dipole and array physics, and the abort poll.
#include "fields/far_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "solver/physical_constants.h"
#include "tests/fields/result_fixtures.h"
#include "tests/support/expect_values.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::RecordingUi;
using testing::TempDir;

constexpr double Deg = M_PI / 180.0;
const auto never = [] { return false; };

FarFieldValue Field(const RadiatingCurrents& currents, const FarFieldMedium& medium, double theta,
                    double phi) {
  FarFieldValue value;
  EXPECT_TRUE(EvaluateFarField(currents, medium, theta, phi, never, value));
  return value;
}

TEST(FarFieldGrid, EveryAngleOnTheStepUpToTheStopIsVisited) {
  // Adding 0.3 a hundred times overshoots 30 by a rounding error (and 0.7 ten
  // times overshoots 7); a stop angle on the step must still be there. A start
  // beyond the stop visits nothing.
  const FarFieldGrid grids[] = {{0, 90, 2, 0, 0, 18}, {},
                                {0, 1, 0.1, 0, 0, 1}, {0, 30, 0.3, 0, 0, 1},
                                {0, 0, 1, 0, 7, 0.7}, {-90, 90, 45, 0, 360, 180},
                                {80, 10, 2, 0, 0, 1}};
  std::vector<int> counts;
  for (const FarFieldGrid& grid : grids) counts.push_back(CountDirections(grid));
  EXPECT_EQ(counts, (std::vector<int>{46, 46 * 21, 11, 101, 11, 5 * 3, 0}));
  std::vector<double> thetas;
  ForEachDirection({0, 30, 0.3, 0, 0, 1}, [&](double t, double) {
    thetas.push_back(t);
    return true;
  });
  ASSERT_EQ(thetas.size(), 101u);
  EXPECT_NEAR(thetas.back(), 30, 1e-12);

  std::vector<std::pair<double, double>> seen;
  ForEachDirection({0, 4, 2, 10, 20, 10}, [&](double t, double p) {
    seen.emplace_back(t, p);
    return true;
  });
  EXPECT_EQ(seen, (std::vector<std::pair<double, double>>{
                      {0, 10}, {0, 20}, {2, 10}, {2, 20}, {4, 10}, {4, 20}}));
}

TEST(FarFieldGrid, GridsThatWouldNeverEndAreRefused) {
  EXPECT_THROW(CountDirections({0, 90, 0, 0, 0, 1}), std::invalid_argument);
  EXPECT_THROW(CountDirections({0, 90, -2, 0, 0, 1}), std::invalid_argument);
  EXPECT_THROW(CountDirections({1e20, 1e20, 1, 0, 0, 1}), std::invalid_argument);
  EXPECT_THROW(CountDirections({0, 1e12, 1e-3, 0, 0, 1}), std::invalid_argument);
}

TEST(FarField, SingleJxElementAtTheOriginMatchesTheClosedForm) {
  const FarFieldMedium medium = FreeSpaceMedium(500.0, 0.0);
  ASSERT_NEAR(medium.Eta, 376.7343, 1e-4);
  const Complex m{3e-6, -4e-6};  // |M| = 5e-6 A m
  const RadiatingCurrents currents{{{0.0, 0.0, true, m}}, {}};
  const double scale = medium.Eta * medium.K * 5e-6 / (4 * M_PI);
  for (double theta : {0.0, 30.0, 60.0, 90.0, 150.0})
    for (double phi : {0.0, 45.0, 90.0, 200.0, 333.0}) {
      const FarFieldValue v = Field(currents, medium, theta, phi);
      EXPECT_NEAR(CAbs(v.ETheta), scale * std::fabs(std::cos(theta * Deg) * std::cos(phi * Deg)),
                  scale * 1e-12);
      EXPECT_NEAR(CAbs(v.EPhi), scale * std::fabs(std::sin(phi * Deg)), scale * 1e-12);
    }
}

TEST(FarField, PhasedPairBeamsAlongTheLaggingDirection) {
  // Two y-directed moments a quarter wave apart on x, the second lagging by 90
  // degrees: their waves add towards +x and cancel towards -x.
  const FarFieldMedium medium = FreeSpaceMedium(300.0, 0.0);
  const double quarter = 0.5 * M_PI / medium.K;
  const RadiatingCurrents pair{
      {{0.0, 0.0, false, {1e-4, 0.0}}, {quarter, 0.0, false, {0.0, -1e-4}}}, {}};
  const double single = medium.Eta * medium.K * 1e-4 / (4 * M_PI);
  EXPECT_NEAR(CAbs(Field(pair, medium, 90.0, 0.0).EPhi), 2 * single, 1e-9 * single);
  EXPECT_NEAR(CAbs(Field(pair, medium, 90.0, 180.0).EPhi), 0.0, 1e-9 * single);
  // Broadside (theta 0) the path lengths are equal and only the current phases add.
  EXPECT_NEAR(CAbs(Field(pair, medium, 0.0, 0.0).EPhi), std::sqrt(2.0) * single, 1e-9 * single);
}

// A Jx element on a single charge cell with a ground point on its left edge.
struct GroundedElement {
  ElementLists lists;
  Complex ix[1] = {{1.0, 0.5}};
  Complex ground[1] = {{-0.3, 0.2}};
  GroundedElement() {
    lists.Charges = {testing::Cell(0.010, 0.010, 0.002, 0.002)};
    lists.Jx = {testing::Element(0.011, 0.010, 0.002, 0.002)};
    lists.GroundPoints = {testing::EdgePoint(lists, 1, 1)};
  }
};

TEST(FarField, GroundPointBecomesAHalfStripAndAVerticalStrip) {
  GroundedElement g;
  g.lists.GroundPoints.push_back(testing::EdgePoint(g.lists, 1, 4));  // top edge, side -1
  const Complex ground[2] = {{2.0, 0.0}, {0.0, 4.0}};
  const double h = 0.0016;
  const RadiatingCurrents r = CurrentsOfSolution(g.lists, g.ix, nullptr, ground, h);
  ASSERT_EQ(r.Horizontal.size(), 3u);
  // The Jx element, then the left-edge half strip a quarter cell left of centre.
  // The top-edge half strip lies a quarter cell above centre, along y.
  ASSERT_EQ(r.Vertical.size(), 2u);
  EXPECT_EQ(std::tie(r.Horizontal[1].AlongX, r.Horizontal[2].AlongX, r.Vertical[1].Side),
            std::make_tuple(true, false, -1));
  testing::ExpectDoublesEq({r.Horizontal[1].X, r.Horizontal[1].Moment.Re, r.Horizontal[2].Y,
                            r.Horizontal[2].Moment.Im, r.Vertical[0].X, r.Vertical[0].Moment.Re},
                           {0.010 - 0.0005, 2.0 * 0.001 * 0.002, 0.010 + 0.0005,
                            4.0 * 0.002 * 0.001, 0.009, 2.0 * 0.002 * 2 * h});

  // Without modelled ground points only the elements radiate.
  EXPECT_EQ(CurrentsOfSolution(g.lists, g.ix, nullptr, nullptr, h).Horizontal.size(), 1u);
}

TEST(FarField, GroundPlaneNullsTheHorizontalPartAlongTheBoard) {
  GroundedElement g;
  const double h = 0.002;
  const FrequencyConstants c = MakeFrequencyConstants(1000.0, Eps0, 1.0, true, h);
  const FarFieldMedium medium = MediumOf(c);
  const RadiatingCurrents all = CurrentsOfSolution(g.lists, g.ix, nullptr, g.ground, h);
  RadiatingCurrents verticalOnly = all;
  verticalOnly.Horizontal.clear();
  RadiatingCurrents horizontalOnly = all;
  horizontalOnly.Vertical.clear();

  for (double phi : {0.0, 45.0, 90.0}) {
    const FarFieldValue edge = Field(all, medium, 90.0, phi);
    const FarFieldValue vertical = Field(verticalOnly, medium, 90.0, phi);
    EXPECT_LT(CAbs(edge.EPhi), 1e-12);
    EXPECT_GT(CAbs(edge.ETheta), 0.0);
    EXPECT_NEAR(CAbs(edge.ETheta), CAbs(vertical.ETheta), 1e-12 * CAbs(vertical.ETheta));
    // The vertical strip of length 2h: |E| = eta K |I w 2h| / (4 pi) at theta 90.
    EXPECT_NEAR(CAbs(vertical.ETheta),
                medium.Eta * medium.K * CAbs(g.ground[0]) * 0.002 * 2 * h / (4 * M_PI), 1e-15);
  }
  // Overhead the image factor is |1 - exp(-j 2 K h)| = 2 |sin(K h)|.
  FarFieldMedium withoutPlane = medium;
  withoutPlane.GroundPlane = false;
  const double ratio = CAbs(Field(horizontalOnly, medium, 0.0, 0.0).ETheta) /
                       CAbs(Field(horizontalOnly, withoutPlane, 0.0, 0.0).ETheta);
  EXPECT_NEAR(ratio, 2 * std::fabs(std::sin(medium.K * h)), 1e-9);
}

TEST(FarField, WriterAppendsOneBlockPerFrequencyAndPollsAfterEveryElement) {
  TempDir dir;
  const auto pro = dir / "dipole.PRO";
  GroundedElement g;
  const FrequencyConstants c100 = MakeFrequencyConstants(100.0, Eps0, 1.0, true, 0.002);
  const FrequencyConstants c200 = MakeFrequencyConstants(200.0, Eps0, 1.0, true, 0.002);
  const FarFieldGrid grid{0, 90, 2, 0, 0, 18};
  RecordingUi ui;
  ComputationControl control(ui);
  ASSERT_TRUE(WriteFarField(pro, true, c100, g.lists, g.ix, nullptr, g.ground, grid, control));
  EXPECT_EQ(ui.polls, 46 * 3);  // element, half strip, vertical strip
  ASSERT_TRUE(WriteFarField(pro, false, c200, g.lists, g.ix, nullptr, g.ground, grid, control));

  const auto rad = dir / "dipole.RAD";
  EXPECT_EQ(ScanFrequencies(rad, FarFieldFileFields), (std::vector<double>{100.0, 200.0}));
  const std::optional<ResultBlock> block = FindBlock(rad, 200.0, FarFieldFileFields);
  ASSERT_EQ(block->Rows(), 46u);
  EXPECT_EQ(block->Row(45)[0], 90.0);
  // Header, then theta, phi, |E theta|, |E phi| as R13.
  const FarFieldValue overhead =
      Field(CurrentsOfSolution(g.lists, g.ix, nullptr, g.ground, 0.002), MediumOf(c100), 0, 0);
  const std::string text = testing::ReadBytes(rad);
  EXPECT_EQ(text.substr(0, 28 + 57), " 1.00000000000000E+0002 46\r\n"
                                     " 0.0000E+0000  0.0000E+0000 " +
                                         FormatR13(CAbs(overhead.ETheta)) + " " +
                                         FormatR13(CAbs(overhead.EPhi)) + "\r\n");
}

TEST(FarField, AbortTakesBackTheUnfinishedBlockOnly) {
  TempDir dir;
  const auto pro = dir / "a.PRO";
  GroundedElement g;
  const FrequencyConstants c = MakeFrequencyConstants(100.0, Eps0, 1.0, false, 0.0);
  const FarFieldGrid grid{0, 90, 2, 0, 0, 1};
  {
    RecordingUi ui;
    ComputationControl control(ui);
    ASSERT_TRUE(WriteFarField(pro, true, c, g.lists, g.ix, nullptr, g.ground, grid, control));
  }
  const std::string firstBlock = testing::ReadBytes(dir / "a.RAD");
  ASSERT_EQ(std::count(firstBlock.begin(), firstBlock.end(), '\n'), 1 + 46);

  RecordingUi ui;
  ui.abortAfterPolls = 5;  // one element: lines 1 to 4 of the second block, then abort
  ComputationControl control(ui);
  EXPECT_FALSE(WriteFarField(pro, false, c, g.lists, g.ix, nullptr, g.ground, grid, control));
  EXPECT_TRUE(control.AbortRequested);
  EXPECT_EQ(ui.polls, 5);
  EXPECT_EQ(testing::ReadBytes(dir / "a.RAD"), firstBlock);

  // Aborted at the first point of a run, the file is left empty, not half written.
  RecordingUi again;
  again.abortAfterPolls = 5;
  ComputationControl stop(again);
  EXPECT_FALSE(WriteFarField(pro, true, c, g.lists, g.ix, nullptr, g.ground, grid, stop));
  EXPECT_EQ(testing::ReadBytes(dir / "a.RAD"), "");
}

}  // namespace
}  // namespace lumetra
