// The vector plot: cells and neighbours from a computed dipole, ground-point
// seeds, arrows, and the time sequences of stepping and animation.
#include "plots/vector_plot_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <tuple>

#include "model/connections.h"
#include "model/project_files.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

using testing::RecordingUi;
using testing::TempDir;

TEST(TimeSteps, TwentyStepsEndAtZeroAndTheAnimationCyclesThrough25Values) {
  double t = 0.0;
  std::vector<std::string> shown;
  for (int i = 0; i < 20; ++i) {
    t = StepTime(t);
    shown.push_back(TimeText(t));
  }
  EXPECT_EQ(std::tie(shown[0], shown[1], shown[18], shown[19]),
            std::make_tuple("t/T=0.05", "t/T=0.10", "t/T=0.95", "t/T=0.00"));
  t = 0.0;
  std::vector<double> drawn;
  for (int i = 0; i < 26; ++i) {
    drawn.push_back(t);
    t = AnimationTime(t);
  }
  EXPECT_EQ(std::make_tuple(TimeText(drawn[24]), drawn[25]), std::make_tuple("t/T=0.96", 0.0));
}

TEST(Arrows, AreCentredOnTheCellAndPointAlongTheVector) {
  const auto lines = ArrowLines(10, 5, {1.0, 0.0}, 10, 10);
  // The shaft from the centre to the tip on the right, the tail to the left.
  EXPECT_EQ(std::tie(lines[0].X1, lines[0].Y1, lines[0].X2, lines[0].Y2, lines[3].X2),
            std::make_tuple(100, 50, 110, 50, 90));
  // The head lines leave the tip backwards, one above and one below the shaft.
  EXPECT_LT(std::max(lines[1].X2, lines[2].X2), 110);
  EXPECT_LT(std::min(lines[1].Y2, lines[2].Y2), 50);
  EXPECT_GT(std::max(lines[1].Y2, lines[2].Y2), 50);
  // Up on the board is up on the screen.
  const auto up = ArrowLines(10, 5, {0.0, 1.0}, 10, 10);
  EXPECT_EQ(up[0].Y2, 40);
  const auto none = ArrowLines(10, 5, {0.0, 0.0}, 10, 10);
  EXPECT_EQ(std::tie(none[0].X2, none[1].X2), std::make_tuple(100, 100));
}

TEST(CellVectors, ZeroCurrentsGiveZeroArrowsWithoutDividingByZero) {
  CurrentSamples samples;
  samples.Jx.push_back({});
  VectorCell cell;
  cell.JxNeighbour = {1, 0};
  EXPECT_EQ(LargestCellCurrent({cell}, samples), 0.0);
  EXPECT_EQ(ProportionalCellVector(cell, samples, 0.25, 1.0, 0.9, 0.0), (std::array{0.0, 0.0}));
}

TEST(CellVectors, LengthIsProportionalToTheCurrentAndScaledToTheLargest) {
  CurrentSamples samples;
  CurrentSample s;
  s.Re = 2.0;
  CurrentSample t;
  t.Re = 0.0;
  t.Im = 1.5;  // 1.5 A/m in quadrature
  samples.Jx = {s, s};
  samples.Jy = {t};
  VectorCell strong;  // 2 + 2 + the seed j1 in x: |Jx| = sqrt(16 + 1)
  strong.JxNeighbour = {1, 2};
  strong.XSeed = {0.0, 1.0};
  VectorCell weak;  // 2 A/m along x, 1.5 A/m in quadrature along y
  weak.JxNeighbour = {1, 0};
  weak.JyNeighbour = {0, 1};
  const std::vector<VectorCell> cells = {strong, weak};
  const double largest = LargestCellCurrent(cells, samples);
  EXPECT_NEAR(largest, std::sqrt(17.0), 1e-12);
  // At t = 0 only the real parts count: 4 and 2 A/m, half lengths 0.9 * 4/sqrt(17)
  // and 0.9 * 2/sqrt(17): twice the current, twice the arrow.
  const auto a = ProportionalCellVector(strong, samples, 0.0, 1.0, 0.9, largest);
  const auto b = ProportionalCellVector(weak, samples, 0.0, 1.0, 0.9, largest);
  testing::ExpectNear({a[0], b[0]}, {0.9 * 4 / std::sqrt(17.0), 0.9 * 2 / std::sqrt(17.0)}, 1e-12);
  EXPECT_EQ(b[1], 0.0);
  // A quarter period later the imaginary parts drive: the seed backwards in x, the
  // Jy sample backwards in y.
  testing::ExpectNear({ProportionalCellVector(weak, samples, 0.25, 1.0, 0.9, largest)[1],
                       ProportionalCellVector(strong, samples, 0.25, 1.0, 0.9, largest)[0]},
                      {-0.9 * 1.5 / std::sqrt(17.0), -0.9 / std::sqrt(17.0)}, 1e-12);
  // The largest cell at the instant its current is real: exactly halfLongest.
  const double peak = std::atan2(-1.0, 4.0) / (2 * std::numbers::pi);
  const auto p = ProportionalCellVector(strong, samples, peak, 1.0, 0.9, largest);
  EXPECT_NEAR(std::hypot(p[0], p[1]), 0.9, 1e-12);
  // Enlarged beyond twice the longest, an arrow keeps its direction.
  const auto big = ProportionalCellVector(weak, samples, 0.1, 50.0, 0.9, largest);
  EXPECT_NEAR(std::hypot(big[0], big[1]), 1.8, 1e-12);
  const auto small = ProportionalCellVector(weak, samples, 0.1, 1.0, 0.9, largest);
  EXPECT_NEAR(big[1] / big[0], small[1] / small[0], 1e-12);
}

TEST(CellVectors, LongestArrowIsReadableAtTheDefaultZoom) {
  // 4 mm cells at 10 pixels per mm: 0.45 of the cell, 18 pixels each side. 2 mm
  // cells would give 9 pixels, 0.5 mm cells at 4 pixels per mm 1 pixel: at least
  // 12 pixels each side instead.
  testing::ExpectDoublesEq(
      {LongestHalfArrow(4.0, 10.0), LongestHalfArrow(2.0, 10.0), LongestHalfArrow(0.5, 4.0)},
      {1.8, 1.2, 3.0});
  EXPECT_EQ(MagnitudeRgb(0.0), (std::array<int, 3>{0, 0, 160}));
  EXPECT_EQ(MagnitudeRgb(1.0), (std::array<int, 3>{220, 0, 0}));
  EXPECT_EQ(MagnitudeRgb(7.0), MagnitudeRgb(1.0));
  EXPECT_EQ(MagnitudeRgb(-1.0), MagnitudeRgb(0.0));
  EXPECT_EQ(MagnitudeRgb(std::nan("")), MagnitudeRgb(0.0));
}

TEST(VectorCells, NeighboursOfAComputedDipoleAndFlowAlongTheTrace) {
  TempDir dir;
  RecordingUi ui;
  Project project = testing::StripDipole(dir, 100, 2, 20);
  testing::Compute(project, testing::SingleFrequency(300), ui, dir);
  EXPECT_FALSE(IsChargeFileEmpty(project.ProjectFile));
  const CurrentSamples samples = LoadCurrentSamples(project.ProjectFile, project.Segments, 300);
  const auto cells = LoadVectorCells(project.ProjectFile, 300);
  ASSERT_EQ(cells.size(), 20u);
  EXPECT_TRUE(NeighboursValid(cells, samples));
  EXPECT_EQ(std::tie(cells[0].JxNeighbour, cells[5].JxNeighbour, cells[19].JxNeighbour),
            std::make_tuple(std::array{0, 1}, std::array{5, 6}, std::array{19, 0}));
  const double dmin = SmallestCellSize(cells);
  EXPECT_DOUBLE_EQ(dmin, 2.0);
  // Along the trace every arrow points the same way along x and not across it, at
  // the instant the centre current peaks.
  const CurrentSample& centre = samples.Jx[9];
  const double peak = std::atan2(-centre.Im, centre.Re) / (2 * std::numbers::pi);
  double sign = 0.0;
  const double largest = LargestCellCurrent(cells, samples);
  for (const VectorCell& c : cells) {
    const auto v = ProportionalCellVector(c, samples, peak, 1.0, 0.45 * dmin, largest);
    EXPECT_EQ(v[1], 0.0);
    if (sign == 0.0) sign = v[0] > 0 ? 1 : -1;
    EXPECT_GT(v[0] * sign, 0.0);
  }
  // A broken neighbour number is caught.
  auto broken = cells;
  broken[3].JxNeighbour[0] = 99;
  EXPECT_FALSE(NeighboursValid(broken, samples));
}

TEST(VectorCells, AGroundPointCarriesItsCurrentAsASeed) {
  TempDir dir;
  const auto pro = dir / "g.PRO";
  Project p;
  p.ProjectFile = pro.string();
  p.PcbLx = 20;
  p.PcbLy = 10;
  p.Segments = {{10, 5, 4, 2, 2, 1}};
  p.GroundPoints = {{2, EdgeRight, 0.6, 12, 5}};
  SaveProjectFiles(p, pro);
  std::ofstream(ProjectFileWithExtension(pro, ".ZZX"))
      << " 1.0E+0002 1\r\n 12.0 5.0 0.0 2.0 1.0 0.25 -0.5\r\n";
  const auto cells = LoadVectorCells(pro, 100);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(std::tie(cells[0].XSeed, cells[1].XSeed, cells[1].JxNeighbour),
            std::make_tuple(std::complex<double>(), std::complex(0.25, -0.5), std::array{1, 0}));
}

}  // namespace
}  // namespace lumetra
