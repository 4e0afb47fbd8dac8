// The 2D graph: element ranges of rows and columns, values, scales, titles and
// the pointer readout.
#include "plots/current_graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace lumetra {
namespace {

CurrentSample Sample(double x, double y, double dx, double dy, double re, double im) {
  CurrentSample s{x, y, dx, dy, re, im};
  s.Magnitude = std::hypot(re, im);
  s.Phase = CurrentPhase(re, im);
  return s;
}

// Segment 1: 2 x 1 cells (one Jx element). Segment 2: 4 x 3 cells of 2 x 1 mm
// at (20, 10): 3 rows of 3 Jx elements and 2 rows of 4 Jy elements.
struct TwoSegments : ::testing::Test {
  void SetUp() override {
    segments = {{5, 5, 4, 2, 2, 1}, {20, 10, 8, 3, 4, 3}};
    samples.Jx.push_back(Sample(5, 5, 2, 2, 1, 0));
    for (int row = 0; row < 3; ++row)
      for (int i = 0; i < 3; ++i)
        samples.Jx.push_back(Sample(18 + 2 * i, 9 + row, 2, 1, row * 10 + i + 1, -1));
    for (int row = 0; row < 2; ++row)
      for (int i = 0; i < 4; ++i) samples.Jy.push_back(Sample(17 + 2 * i, 9.5 + row, 2, 1, 0, i + 4 * row + 1));
  }
  std::vector<Segment> segments;
  CurrentSamples samples;
};

TEST_F(TwoSegments, KindsFollowTheCellCounts) {
  EXPECT_EQ(std::make_tuple(GraphKindsOf(segments[0]).Jx, GraphKindsOf(segments[0]).Ask,
                            GraphKindsOf(segments[1]).Ask, GraphKindsOf({0, 0, 1, 4, 1, 4}).Jx),
            std::make_tuple(true, false, true, false));
}

TEST_F(TwoSegments, ASingleElementIsTooFewPoints) {
  EXPECT_FALSE(BuildGraph(samples, segments, {1, 0, true}, GraphQuantity::Amplitude));
}

TEST_F(TwoSegments, ARowOfJxElementsSkipsTheEarlierSegmentsAndRows) {
  const auto g = BuildGraph(samples, segments, {2, 2, true}, GraphQuantity::Real);
  ASSERT_TRUE(g);
  ASSERT_EQ(g->Points.size(), 3u);
  EXPECT_EQ(std::tie(g->Points[0].Value, g->Points[2].Value, g->XMin, g->XMax, g->YMin, g->YMax),
            std::make_tuple(11.0, 13.0, 17.0, 23.0, 11.0, 13.0));
}

TEST_F(TwoSegments, AColumnOfJyElementsStridesByTheCellsPerRow) {
  const auto g = BuildGraph(samples, segments, {2, 3, false}, GraphQuantity::Imaginary);
  ASSERT_TRUE(g);
  ASSERT_EQ(g->Points.size(), 2u);
  EXPECT_EQ(std::tie(g->Points[0].Value, g->Points[1].Value, g->XMin, g->XMax),
            std::make_tuple(3.0, 7.0, 9.0, 11.0));
  // The total current is the density times the width across the flow, in metres.
  const auto i = BuildGraph(samples, segments, {2, 3, false}, GraphQuantity::TotalCurrent);
  EXPECT_DOUBLE_EQ(i->Points[1].Value, 7.0 * 2 * 0.001);
}

TEST_F(TwoSegments, ARowBeyondTheLoadedSamplesIsRefused) {
  samples.Jx.resize(5);
  EXPECT_FALSE(BuildGraph(samples, segments, {2, 3, true}, GraphQuantity::Amplitude));
}

TEST_F(TwoSegments, FrameScalesAndReadout) {
  const auto g = BuildGraph(samples, segments, {2, 2, true}, GraphQuantity::Real);
  const GraphFrame f = FrameOf(*g, 700, 400);
  EXPECT_EQ(std::tie(f.Right, f.Bottom), std::make_tuple(650, 350));
  EXPECT_DOUBLE_EQ(f.Kx, 550 / 6.0);
  EXPECT_DOUBLE_EQ(f.Ky, 300 / 2.0);
  // 1 mm in: 91.67 rounded.
  const GraphPixelPoint p = GraphPixel(f, *g, g->Points[0]);
  EXPECT_EQ(std::tie(p.X, p.Y), std::make_tuple(100 + 92, 350));
  EXPECT_EQ(GraphXText(g->XMin) + " " + GraphYText(g->YMax), "17.00 1.30E+01");
  EXPECT_EQ(GraphReadout(f, *g, 100, 200), std::nullopt);  // on the border
  EXPECT_EQ(*GraphReadout(f, *g, 375, 200), "X=20.00   Y=1.20E+01      ");
  GraphData flat = *g;
  flat.YMax = flat.YMin;
  EXPECT_EQ(FrameOf(flat, 700, 400).Ky, 0.0);
  EXPECT_EQ(GraphReadout(FrameOf(flat, 700, 400), flat, 375, 200), std::nullopt);
}

TEST(GraphTitle, PrintedTitlesNameThePartAndTheSource) {
  EXPECT_EQ(PrintedTitle({1, 0, true}, GraphQuantity::Real),
            "Jx-current [A/m] in segment 1 (Real-part)");
  EXPECT_EQ(PrintedTitle({1, 2, false}, GraphQuantity::Imaginary),
            "Jy-current [A/m] in segment 1, Row 2 (Imaginary-part)");
  EXPECT_EQ(PrintedTitle({1, 0, true}, GraphQuantity::Phase), "Jx-current phase in segment 1");
  EXPECT_EQ(TitleOf({3, 0, true}, GraphQuantity::TotalCurrent).Text, "Ix-current [A] in segment 3");
  EXPECT_EQ(PrintedSourceLine("300", "/d/a.PRO"), "Frequency: 300 MHz ;  Source file: /d/a.PRO");
}

}  // namespace
}  // namespace lumetra
