#include <gtest/gtest.h>

#include "model/element_lookup.h"
#include "model/frequency_list_file.h"
#include "model/layout_editing.h"
#include "model/snap_grid.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

Project Board(std::int32_t lx, std::int32_t ly, double grid) {
  Project p;
  p.PcbLx = lx;
  p.PcbLy = ly;
  p.GridSize = grid;
  return p;
}

TEST(SnapToGrid, NearestLineWithTiesToTheLowerOne) {
  // 2 mm at 5 px/mm: lines every 10 px.
  EXPECT_EQ(SnapToGrid(0, 2.0, 5.0), 0);
  EXPECT_EQ(SnapToGrid(4, 2.0, 5.0), 0);
  EXPECT_EQ(SnapToGrid(5, 2.0, 5.0), 0);   // the tie goes down
  EXPECT_EQ(SnapToGrid(6, 2.0, 5.0), 10);
  EXPECT_EQ(SnapToGrid(25, 2.0, 5.0), 20);
  EXPECT_EQ(SnapToGrid(26, 2.0, 5.0), 30);
  EXPECT_EQ(SnapToGrid(-7, 2.0, 5.0), 0);
}

TEST(SnapToGrid, LinesAreRoundedOneByOne) {
  // 3 mm at 1.5 px/mm: 4.5 px pitch, lines at 0, 4 (Round 4.5), 9, 14 (Round 13.5), 18.
  EXPECT_EQ(SnapToGrid(6, 3.0, 1.5), 4);   // 6 <= 4 + 2.25
  EXPECT_EQ(SnapToGrid(7, 3.0, 1.5), 9);
  EXPECT_EQ(SnapToGrid(16, 3.0, 1.5), 14);
  EXPECT_EQ(SnapToGrid(17, 3.0, 1.5), 18);
}

TEST(SegmentFromRubberBand, AnyDirectionGivesTheSameSegment) {
  Project p = Board(160, 100, 2.0);
  const auto a = SegmentFromRubberBand(20, 100, 121, 139, p, 5.0);
  const auto b = SegmentFromRubberBand(120, 140, 19, 101, p, 5.0);
  const auto c = SegmentFromRubberBand(20, 140, 118, 98, p, 5.0);
  ASSERT_TRUE(a && b && c);
  for (const Segment& s : {*a, *b, *c}) {
    EXPECT_DOUBLE_EQ(s.Xc, 14.0);
    EXPECT_DOUBLE_EQ(s.Yc, 76.0);
    EXPECT_DOUBLE_EQ(s.Lx, 20.0);
    EXPECT_DOUBLE_EQ(s.Ly, 8.0);
    EXPECT_EQ(s.ChX, 10);
    EXPECT_EQ(s.ChY, 4);
  }
}

TEST(SegmentFromRubberBand, ChargeCountsFollowChargesPerGrid) {
  Project p = Board(160, 100, 2.0);
  auto s = SegmentFromRubberBand(0, 0, 50, 10, p, 5.0);  // 10 mm x 2 mm
  ASSERT_TRUE(s);
  EXPECT_EQ(s->ChX, 5);
  EXPECT_EQ(s->ChY, 1);
  p.ChargesPerGridX = 3;
  s = SegmentFromRubberBand(0, 0, 50, 10, p, 5.0);
  EXPECT_EQ(s->ChX, 15);
}

TEST(SegmentFromRubberBand, ZeroSizeAndSegmentsBeyondTheBoardAreDiscarded) {
  Project p = Board(160, 100, 2.0);
  EXPECT_FALSE(SegmentFromRubberBand(20, 20, 24, 60, p, 5.0));  // snaps to zero width
  EXPECT_FALSE(SegmentFromRubberBand(20, 20, 60, 20, p, 5.0));
  EXPECT_FALSE(SegmentFromRubberBand(780, 20, 820, 40, p, 5.0));  // past the right edge
  EXPECT_TRUE(SegmentFromRubberBand(20, 20, -30, 40, p, 5.0));  // snaps to the left edge
  EXPECT_TRUE(SegmentFromRubberBand(780, 480, 800, 500, p, 5.0));  // up to the corner
}

TEST(ElementLookup, MarkersAndSegmentsAreFoundStrictlyInside) {
  const std::vector<Segment> segs = {{10, 10, 10, 2, 5, 1}, {12, 10, 10, 2, 5, 1}};
  EXPECT_EQ(SegmentsContaining(segs, 11, 10), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(SegmentsContaining(segs, 5, 10), (std::vector<std::size_t>{}));  // on the edge
  const std::vector<VoltageSource> src = {{10, 10, 2, 2, 1, 0, true, 3},
                                          {10.5, 10, 2, 2, 1, 0, true, 3}};
  EXPECT_EQ(SourcesContaining(src, 10.2, 10.9), (std::vector<std::size_t>{0, 1}));
  EXPECT_TRUE(SourcesContaining(src, 10.2, 11.0).empty());
}

TEST(ElementLookup, CurrentElementsAreNumberedProjectWide) {
  // Segment 1: 5 x 1 cells (4 Jx, 0 Jy); segment 2: 2 x 3 cells of 2 mm (3 Jx, 4 Jy).
  const std::vector<Segment> segs = {{5, 1, 10, 2, 5, 1}, {20, 5, 4, 6, 2, 3}};
  auto jx = FindCurrentElementAt(segs, 0, 6.5, 1.0, true);
  ASSERT_TRUE(jx);
  EXPECT_EQ(jx->ElementNo, 3);  // between cells 3 and 4, centre at x = 6
  EXPECT_DOUBLE_EQ(jx->X, 6.0);
  EXPECT_DOUBLE_EQ(jx->Dx, 2.0);
  EXPECT_FALSE(FindCurrentElementAt(segs, 0, 0.5, 1.0, true));  // left of the first centre
  jx = FindCurrentElementAt(segs, 1, 20.1, 5.0, true);
  ASSERT_TRUE(jx);
  EXPECT_EQ(jx->ElementNo, 4 + 2);  // row 1 of segment 2
  auto jy = FindCurrentElementAt(segs, 1, 21.0, 6.5, false);
  ASSERT_TRUE(jy);
  EXPECT_EQ(jy->ElementNo, 4);  // column 1 of row 1
  EXPECT_DOUBLE_EQ(jy->Y, 6.0);
  EXPECT_FALSE(jy->IsJx);
  EXPECT_FALSE(FindCurrentElementAt(segs, 0, 5.0, 1.0, false));  // one row has no Jy
  const auto cell = FindChargeCellAt(segs, 1, 21.0, 7.0);
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->ChargeNo, 5 + 2 * 2 + 1 + 1);
  EXPECT_DOUBLE_EQ(cell->X, 21.0);
  EXPECT_DOUBLE_EQ(cell->Y, 7.0);
}

TEST(LayoutEditing, RecordsTakeTheElementAndTheSignOfTheLoadType) {
  const CurrentElementHit e{7, 3.0, 4.0, 2.0, 1.0, false};
  const VoltageSource v = MakeVoltageSource(e, 1.5, -2.0);
  EXPECT_EQ(v.ElementNo, 7);
  EXPECT_FALSE(v.IsJx);
  EXPECT_DOUBLE_EQ(v.Dy, 1.0);
  EXPECT_DOUBLE_EQ(MakeImpedance(e, 50, 1e-12, true).LC, -1e-12);
  EXPECT_DOUBLE_EQ(MakeImpedance(e, 50, 1e-9, false).LC, 1e-9);
  const ChargeCellHit cell{4, 10.0, 20.0, 3.0, 1.5};
  const GroundPoint gp = MakeGroundPoint(cell, EdgeTop);
  EXPECT_DOUBLE_EQ(gp.X, 10.0);
  EXPECT_DOUBLE_EQ(gp.Y, 20.75);
  EXPECT_DOUBLE_EQ(gp.Size, 0.5);
  EXPECT_DOUBLE_EQ(MakeGroundPoint(cell, EdgeLeft).X, 8.5);
  EXPECT_DOUBLE_EQ(MakeGroundPoint(cell, EdgeRight).X, 11.5);
  EXPECT_DOUBLE_EQ(MakeGroundPoint(cell, EdgeBottom).Y, 19.25);
}

Project TwoSegmentProject() {
  Project p = Board(160, 100, 2.0);
  p.Saved = true;
  p.Connected = true;
  p.Segments = {{5, 1, 10, 2, 5, 1}, {20, 1, 10, 2, 5, 1}};
  p.VoltageSources = {{0, 0, 0, 0, 1, 0, true, 2}, {0, 0, 0, 0, 1, 0, true, 6}};
  p.Impedances = {{0, 0, 0, 0, 50, 0, true, 8}};
  p.GroundPoints = {{3, EdgeLeft, 0.5, 0, 0}, {7, EdgeRight, 0.5, 0, 0}};
  return p;
}

TEST(ReplaceSegment, MoreChargesRemoveTheSegmentsItemsAndShiftTheLaterOnes) {
  Project p = TwoSegmentProject();
  Segment s = p.Segments[0];
  s.ChX = 10;
  ReplaceSegment(p, 0, s);
  ASSERT_EQ(p.VoltageSources.size(), 1u);
  EXPECT_EQ(p.VoltageSources[0].ElementNo, 6 + 5);
  EXPECT_EQ(p.Impedances[0].ElementNo, 8 + 5);
  ASSERT_EQ(p.GroundPoints.size(), 1u);
  EXPECT_EQ(p.GroundPoints[0].ChargeNo, 7 + 5);
  EXPECT_EQ(p.Segments[0].ChX, 10);
  EXPECT_FALSE(p.Saved);
  EXPECT_FALSE(p.Connected);
}

TEST(ReplaceSegment, MovingALaterSegmentLeavesEarlierItemsAndNumbersAlone) {
  Project p = TwoSegmentProject();
  Segment s = p.Segments[1];
  s.Xc = 40;
  ReplaceSegment(p, 1, s);
  ASSERT_EQ(p.VoltageSources.size(), 1u);
  EXPECT_EQ(p.VoltageSources[0].ElementNo, 2);
  EXPECT_TRUE(p.Impedances.empty());
  ASSERT_EQ(p.GroundPoints.size(), 1u);
  EXPECT_EQ(p.GroundPoints[0].ChargeNo, 3);
}

TEST(ReplaceSegment, JyNumbersShiftByTheJyCountChange) {
  Project p = Board(160, 100, 2.0);
  p.Segments = {{5, 5, 4, 4, 2, 2}, {20, 5, 4, 4, 2, 2}};  // 2 Jy each
  p.VoltageSources = {{0, 0, 0, 0, 1, 0, false, 3}, {0, 0, 0, 0, 1, 0, true, 3}};
  Segment s = p.Segments[0];
  s.ChY = 4;  // Jy 2 -> 6, Jx 2 -> 4
  ReplaceSegment(p, 0, s);
  ASSERT_EQ(p.VoltageSources.size(), 2u);
  EXPECT_EQ(p.VoltageSources[0].ElementNo, 3 + 4);
  EXPECT_EQ(p.VoltageSources[1].ElementNo, 3 + 2);
}

TEST(DeleteItems, LaterItemsMoveUpAndSegmentsTakeEveryMarkerAlong) {
  Project p = TwoSegmentProject();
  p.VoltageSources.push_back({0, 0, 0, 0, 3, 0, true, 9});
  DeleteItems(p, ItemKind::VoltageSource, 1);
  ASSERT_EQ(p.VoltageSources.size(), 2u);
  EXPECT_DOUBLE_EQ(p.VoltageSources[1].ReV, 3);
  EXPECT_FALSE(p.Connected);
  EXPECT_FALSE(p.Saved);
  DeleteItems(p, ItemKind::GroundPoint, std::nullopt);
  EXPECT_TRUE(p.GroundPoints.empty());
  DeleteItems(p, ItemKind::Segment, 1);
  EXPECT_EQ(p.Segments.size(), 1u);
  EXPECT_TRUE(p.VoltageSources.empty());
  EXPECT_TRUE(p.Impedances.empty());
  DeleteItems(p, ItemKind::Segment, 5);  // no such item: nothing changes
  EXPECT_EQ(ItemCount(p, ItemKind::Segment), 1u);
}

TEST(LayoutEditing, EditingValuesMarksTheProjectChanged) {
  Project p = TwoSegmentProject();
  SetVoltage(p, 1, 2.5, -1);
  EXPECT_DOUBLE_EQ(p.VoltageSources[1].ReV, 2.5);
  EXPECT_DOUBLE_EQ(p.VoltageSources[1].ImV, -1);
  EXPECT_FALSE(p.Saved);
  EXPECT_TRUE(p.Connected);  // the layout itself did not change
  SetImpedance(p, 0, 75, -1e-12);
  EXPECT_DOUBLE_EQ(p.Impedances[0].LC, -1e-12);
  SetVoltage(p, 7, 1, 1);  // no such source: nothing happens
}

TEST(SetGrid, StoresTheValuesAndMarksTheProjectChanged) {
  Project p = Board(160, 100, 2.0);
  SetGrid(p, 1.5, 2, 3, false);
  EXPECT_DOUBLE_EQ(p.GridSize, 1.5);
  EXPECT_EQ(p.ChargesPerGridX, 2);
  EXPECT_EQ(p.ChargesPerGridY, 3);
  EXPECT_FALSE(p.ShowGridPoints);
  EXPECT_FALSE(p.Saved);
}

TEST(FrequencyListFile, SavedNamesEndInTxtAndLinesRoundTrip) {
  EXPECT_EQ(FrequencyListFileName("/tmp/list.dat").string(), "/tmp/list.TXT");
  EXPECT_EQ(FrequencyListFileName("/tmp/list").string(), "/tmp/list.TXT");
  testing::TempDir dir;
  WriteFrequencyListFile(dir / "f.TXT", {"100", "150.5", "2e3"});
  EXPECT_EQ(testing::ReadBytes(dir / "f.TXT"), "100\r\n150.5\r\n2e3\r\n");
  EXPECT_EQ(ReadFrequencyListFile(dir / "f.TXT"),
            (std::vector<std::string>{"100", "150.5", "2e3"}));
}

}  // namespace
}  // namespace lumetra
