#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "model/layout_drawing.h"
#include "model/layout_view_geometry.h"
#include "model/project_files.h"
#include "tests/support/expect_values.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

TEST(RoundHalfEven, TiesGoToEven) {
  std::vector<int> rounded;
  for (double x : {2.5, 3.5, 50.5, -0.5, 2.51}) rounded.push_back(RoundHalfEven(x));
  EXPECT_EQ(rounded, (std::vector<int>{2, 4, 50, 0, 3}));
}

// Width, height, left and top of a view in page pixels.
std::array<int, 4> Frame(const ViewGeometry& v) { return {v.Width, v.Height, v.Left, v.Top}; }
// The corners or the anchor points of a drawing step.
std::array<int, 4> Box(const DrawStep& s) { return {s.X1, s.Y1, s.X2, s.Y2}; }

TEST(FitBoardToPage, BoardFillsThePageLessTheMargin) {
  const ViewGeometry v = FitBoardToPage(810, 510, 160, 100, 1.0, 0, 0);
  EXPECT_DOUBLE_EQ(v.Scale, 5.0);
  EXPECT_EQ(Frame(v), (std::array{800, 500, 5, 5}));
}

TEST(FitBoardToPage, ZoomAndPanApplyOnTopOfTheFit) {
  const ViewGeometry v = FitBoardToPage(810, 510, 160, 100, 1.1, 10, -20);
  EXPECT_DOUBLE_EQ(v.Scale, 5.5);
  EXPECT_EQ(Frame(v), (std::array{880, 550, -40 + 10 + 5, -25 - 20 + 5}));
}

TEST(FitBoardToPage, TheSmallerFitFactorWinsAndTheBoardIsCentred) {
  const ViewGeometry v = FitBoardToPage(1010, 510, 160, 100, 1.0, 0, 0);
  EXPECT_DOUBLE_EQ(v.Scale, 5.0);  // 1000/160 = 6.25 would not fit the height
  EXPECT_EQ(v.Left, 100 + 5);
}

// The board point under a page pixel of a view.
BoardPoint Under(const ViewGeometry& v, double pageX, double pageY, std::int32_t pcbLy) {
  return PixelToBoard(pageX - v.Left, pageY - v.Top, v.Scale, pcbLy);
}

TEST(OffsetKeepingPoint, TheBoardPointUnderTheCursorStaysWithinHalfAPixel) {
  struct Case {
    int pageW, pageH, lx, ly;
    double zoom, newZoom;
    int offsetX, offsetY;
    double px, py;
  };
  const Case cases[] = {
      {810, 510, 160, 100, 1.0, 1.1, 0, 0, 105, 405},       // zoom in near a corner
      {810, 510, 160, 100, 1.1, 1.0, 30, -20, 700, 60},     // out, from a panned view
      {1000, 640, 100, 20, 1.0, 1.1 * 1.1 * 1.1, 0, 0, 3, 3},  // beside the board
      {1000, 640, 100, 20, 3.0, 0.5, -250, 40, 512, 300},  // far out
      {433, 377, 7, 300, 1.0, 1.6105, 0, 0, 200, 10},       // tall board, odd page
  };
  for (const Case& c : cases) {
    const ViewGeometry before = FitBoardToPage(c.pageW, c.pageH, c.lx, c.ly, c.zoom, c.offsetX, c.offsetY);
    const PanOffset o = OffsetKeepingPoint(c.pageW, c.pageH, c.lx, c.ly, before, c.newZoom, c.px, c.py);
    const ViewGeometry after = FitBoardToPage(c.pageW, c.pageH, c.lx, c.ly, c.newZoom, o.X, o.Y);
    EXPECT_NEAR(after.Scale / before.Scale, c.newZoom / c.zoom, 1e-12);
    const BoardPoint b = Under(before, c.px, c.py, c.ly), a = Under(after, c.px, c.py, c.ly);
    testing::ExpectNear({a.X, a.Y}, {b.X, b.Y}, 0.5 / after.Scale + 1e-12);
  }
  // The same zoom keeps the view as it is.
  const ViewGeometry v = FitBoardToPage(810, 510, 160, 100, 1.21, 17, -9);
  const PanOffset same = OffsetKeepingPoint(810, 510, 160, 100, v, 1.21, 300, 200);
  EXPECT_EQ(std::tie(same.X, same.Y), std::make_tuple(17, -9));
  // At the exact middle of an unpanned board the zoom needs no pan at all (5 px per
  // mm, board 800 x 500 at 5,5: the middle is page pixel 405, 255).
  const ViewGeometry fit = FitBoardToPage(810, 510, 160, 100, 1.0, 0, 0);
  const PanOffset centre = OffsetKeepingPoint(810, 510, 160, 100, fit, 1.1, 405, 255);
  EXPECT_EQ(std::tie(centre.X, centre.Y), std::make_tuple(0, 0));
  // A point at the board's top-left corner stays at its page pixel exactly.
  const PanOffset corner = OffsetKeepingPoint(810, 510, 160, 100, fit, 1.1, 5, 5);
  const ViewGeometry zoomed = FitBoardToPage(810, 510, 160, 100, 1.1, corner.X, corner.Y);
  EXPECT_EQ(std::tie(zoomed.Left, zoomed.Top), std::make_tuple(5, 5));
}

TEST(PixelMapping, BoardYRunsUpwards) {
  const BoardPoint p = PixelToBoard(50, 100, 5.0, 100);
  testing::ExpectDoublesEq({p.X, p.Y}, {10.0, 80.0});
  EXPECT_EQ(std::make_tuple(BoardToPixelX(10.0, 5.0), BoardToPixelY(80.0, 5.0, 100)),
            std::make_tuple(50, 100));
}

Project Board(std::int32_t lx, std::int32_t ly, double grid) {
  Project p;
  p.PcbLx = lx;
  p.PcbLy = ly;
  p.GridSize = grid;
  return p;
}

std::vector<DrawStep> OfKind(const std::vector<DrawStep>& steps, DrawKind kind) {
  std::vector<DrawStep> out;
  std::copy_if(steps.begin(), steps.end(), std::back_inserter(out),
               [&](const DrawStep& s) { return s.Kind == kind; });
  return out;
}

TEST(DrawLayout, GridPointsLieOnWholeMultiplesCountedFromTheTop) {
  Project p = Board(10, 101, 2.0);
  const auto pixels = OfKind(DrawLayout(p, {}, 1.0), DrawKind::Pixel);
  // Round(5) columns by Round(50.5) = 50 rows.
  ASSERT_EQ(pixels.size(), 5u * 50u);
  EXPECT_EQ(std::tie(pixels.front().X1, pixels.front().Y1, pixels.back().X1, pixels.back().Y1),
            std::make_tuple(2, 2, 10, 100));
  p.ShowGridPoints = false;
  EXPECT_TRUE(OfKind(DrawLayout(p, {}, 1.0), DrawKind::Pixel).empty());
}

TEST(DrawLayout, SegmentOutlineIncludesItsFarEdgeAndCarriesItsNumber) {
  Project p = Board(160, 100, 2.0);
  p.ShowGridPoints = false;
  p.Segments = {{10, 90, 20, 4, 10, 2}};
  const auto steps = DrawLayout(p, {}, 5.0);
  ASSERT_EQ(steps.size(), 3u);  // board, segment, number
  EXPECT_EQ(steps[0].Kind, DrawKind::Outline);
  EXPECT_EQ(std::tie(steps[0].X2, steps[0].Y2), std::make_tuple(800, 500));
  EXPECT_EQ(Box(steps[1]), (std::array{0, 40, 101, 61}));
  // The number, centred on the middle of the segment whatever the font.
  EXPECT_EQ(std::tie(steps[2].Label, steps[2].Centred, steps[2].Backed),
            std::make_tuple("1", true, true));
  EXPECT_EQ(Box(steps[2]), (std::array{0 - 2 + 101 / 2, 40 - 5 + 21 / 2, 101 / 2, 40 + 21 / 2}));
  LayoutDisplay noNumbers;
  noNumbers.ShowSegmentNumbers = false;
  EXPECT_EQ(DrawLayout(p, noNumbers, 5.0).size(), 2u);
}

TEST(DrawLayout, ElementDisplaysDrawTheirLines) {
  Project p = Board(160, 100, 2.0);
  p.ShowGridPoints = false;
  p.Segments = {{10, 50, 10, 4, 5, 2}, {30, 50, 10, 2, 1, 1}};
  LayoutDisplay d;
  d.ShowSegmentNumbers = false;
  d.ShowCharges = true;
  EXPECT_EQ(OfKind(DrawLayout(p, d, 5.0), DrawKind::Line).size(), 4u + 1u);
  d.ShowCharges = false;
  d.ShowJx = true;  // 5 centre lines and 1 row boundary; ChX = 1 draws none
  const auto jx = OfKind(DrawLayout(p, d, 5.0), DrawKind::Line);
  ASSERT_EQ(jx.size(), 6u);
  EXPECT_EQ(jx[0].Role, DrawRole::Jx);
  // The first cell centre at 6 mm.
  EXPECT_EQ(std::tie(jx[0].X1, jx[5].X1, jx[5].X2), std::make_tuple(30, 30, 70));
  d.ShowJx = false;
  d.ShowJy = true;  // 2 centre lines and 4 column boundaries
  EXPECT_EQ(OfKind(DrawLayout(p, d, 5.0), DrawKind::Line).size(), 6u);

  // The segment numbers come after every element line, so no line crosses them.
  d.ShowJx = d.ShowCharges = true;
  d.ShowSegmentNumbers = true;
  const auto steps = DrawLayout(p, d, 5.0);
  const auto lastLine = std::find_if(steps.rbegin(), steps.rend(), [](const DrawStep& s) {
    return s.Kind == DrawKind::Line;
  });
  const auto firstText = std::find_if(steps.begin(), steps.end(), [](const DrawStep& s) {
    return s.Kind == DrawKind::Text;
  });
  ASSERT_NE(firstText, steps.end());
  EXPECT_LT(steps.rend() - lastLine - 1, firstText - steps.begin());
  EXPECT_EQ(OfKind(steps, DrawKind::Text).size(), 2u);
}

TEST(DrawLayout, MarkersAreFilledAndNumberedInTheirOwnLists) {
  Project p = Board(160, 100, 2.0);
  p.ShowGridPoints = false;
  p.VoltageSources = {{10, 50, 2, 2, 1, 0, true, 1}, {20, 50, 2, 2, 1, 0, true, 2}};
  p.Impedances = {{30, 50, 2, 2, 50, 0, true, 3}};
  p.GroundPoints = {{1, EdgeLeft, 0.5, 40, 50}};
  const auto steps = DrawLayout(p, {}, 5.0);
  const auto filled = OfKind(steps, DrawKind::FilledRect);
  ASSERT_EQ(filled.size(), 3u);
  EXPECT_EQ(filled[0].Role, DrawRole::VoltageSource);
  EXPECT_EQ(filled[2].Role, DrawRole::Impedance);
  const auto circles = OfKind(steps, DrawKind::Ellipse);
  ASSERT_EQ(circles.size(), 1u);
  // Radius Round(2.5) = 2.
  EXPECT_EQ(std::tie(circles[0].X1, circles[0].X2), std::make_tuple(200 - 2, 200 + 2));
  const auto texts = OfKind(steps, DrawKind::Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(std::tie(texts[1].Label, texts[1].WhiteText), std::make_tuple("2", true));
  EXPECT_EQ(texts[2].Label, "1");  // the impedance element's own number
  EXPECT_EQ(std::tie(texts[3].X1, texts[3].WhiteText), std::make_tuple(200 - 3, false));
  // Marker numbers are centred on their marker and have no backing: the marker
  // itself is theirs.
  EXPECT_TRUE(texts[1].Centred && texts[3].Centred);
  EXPECT_FALSE(texts[1].Backed || texts[3].Backed);
  // The middle of the marker, 95..106.
  EXPECT_EQ(std::tie(texts[1].X2, texts[1].Y2), std::make_tuple(95 + 11 / 2, 245 + 11 / 2));
  EXPECT_EQ(std::tie(texts[3].X2, texts[3].Y2), std::make_tuple(200, 250 - 5 + 4));
}

TEST(DrawConnectingElements, NothingUnlessConnected) {
  testing::TempDir dir;
  Project p = Board(160, 100, 2.0);
  p.ProjectFile = (dir / "P.PRO").string();
  WriteConnectingElementFile(dir / "P.JXC", {{10, 1, 2, 2, 5, 6}});
  WriteConnectingElementFile(dir / "P.JYC", {});
  EXPECT_TRUE(DrawConnectingElements(p, 5.0).empty());
  p.Connected = true;
  const auto steps = DrawConnectingElements(p, 5.0);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].Role, DrawRole::Jx);
  EXPECT_EQ(std::tie(steps[0].X1, steps[0].X2), std::make_tuple(45, 56));
}

}  // namespace
}  // namespace lumetra

#include "model/layout_status_text.h"

namespace lumetra {
namespace {

TEST(MousePositionText, TwoDecimalsAndAtMostFiveSignificantDigits) {
  EXPECT_EQ(MousePositionText(12.346, 0.0), "X=12.35 mm  Y=0.00 mm");
  EXPECT_EQ(MousePositionText(1.004, 99.999), "X=1.00 mm  Y=100.00 mm");
  EXPECT_EQ(MousePositionText(1234.567, -0.001, 2, -4.5),
            "X=1234.60 mm  Y=0.00 mm  dx=2.00  dy=-4.50");
}

}  // namespace
}  // namespace lumetra
