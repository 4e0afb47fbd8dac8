#include "model/layout_editing.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "model/element_lookup.h"
#include "model/frequency_list_file.h"
#include "model/segment_markers.h"
#include "model/snap_grid.h"
#include "tests/support/expect_values.h"
#include "tests/support/recording_ui.h"
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

TEST(SnapToGrid, NearestLineWithTiesToTheLowerOneAndLinesRoundedOneByOne) {
  const struct {
    double gridMm, pxPerMm;
    std::vector<int> pixels, snapped;
  } cases[] = {
      // 2 mm at 5 px/mm: lines every 10 px; the tie at 5 goes down.
      {2.0, 5.0, {0, 4, 5, 6, 25, 26, -7}, {0, 0, 0, 10, 20, 30, 0}},
      // 3 mm at 1.5 px/mm: 4.5 px pitch, lines at 0, 4 (Round 4.5), 9, 14 (Round
      // 13.5), 18; 6 <= 4 + 2.25.
      {3.0, 1.5, {6, 7, 16, 17}, {4, 9, 14, 18}},
  };
  for (const auto& c : cases) {
    std::vector<int> snapped;
    for (int px : c.pixels) snapped.push_back(SnapToGrid(px, c.gridMm, c.pxPerMm));
    EXPECT_EQ(snapped, c.snapped) << c.gridMm;
  }
}

TEST(SegmentFromRubberBand, AnyDirectionGivesTheSameSegment) {
  Project p = Board(160, 100, 2.0);
  const auto a = SegmentFromRubberBand(20, 100, 121, 139, p, 5.0);
  const auto b = SegmentFromRubberBand(120, 140, 19, 101, p, 5.0);
  const auto c = SegmentFromRubberBand(20, 140, 118, 98, p, 5.0);
  ASSERT_TRUE(a && b && c);
  for (const Segment& s : {*a, *b, *c}) {
    testing::ExpectDoublesEq({s.Xc, s.Yc, s.Lx, s.Ly}, {14.0, 76.0, 20.0, 8.0});
    EXPECT_EQ(std::tie(s.ChX, s.ChY), std::make_tuple(10, 4));
  }
}

TEST(SegmentFromRubberBand, ChargeCountsFollowChargesPerGrid) {
  Project p = Board(160, 100, 2.0);
  auto s = SegmentFromRubberBand(0, 0, 50, 10, p, 5.0);  // 10 mm x 2 mm
  ASSERT_TRUE(s);
  EXPECT_EQ(std::tie(s->ChX, s->ChY), std::make_tuple(5, 1));
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
  testing::ExpectDoublesEq({jx->X, jx->Dx}, {6.0, 2.0});
  EXPECT_FALSE(FindCurrentElementAt(segs, 0, 0.5, 1.0, true));  // left of the first centre
  jx = FindCurrentElementAt(segs, 1, 20.1, 5.0, true);
  ASSERT_TRUE(jx);
  EXPECT_EQ(jx->ElementNo, 4 + 2);  // row 1 of segment 2
  auto jy = FindCurrentElementAt(segs, 1, 21.0, 6.5, false);
  ASSERT_TRUE(jy);
  EXPECT_EQ(std::tie(jy->ElementNo, jy->IsJx), std::make_tuple(4, false));  // column 1 of row 1
  EXPECT_DOUBLE_EQ(jy->Y, 6.0);
  EXPECT_FALSE(FindCurrentElementAt(segs, 0, 5.0, 1.0, false));  // one row has no Jy
  const auto cell = FindChargeCellAt(segs, 1, 21.0, 7.0);
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->ChargeNo, 5 + 2 * 2 + 1 + 1);
  testing::ExpectDoublesEq({cell->X, cell->Y}, {21.0, 7.0});
}

TEST(LayoutEditing, RecordsTakeTheElementAndTheSignOfTheLoadType) {
  const CurrentElementHit e{7, 3.0, 4.0, 2.0, 1.0, false};
  const VoltageSource v = MakeVoltageSource(e, 1.5, -2.0);
  EXPECT_EQ(std::tie(v.ElementNo, v.IsJx), std::make_tuple(7, false));
  const ChargeCellHit cell{4, 10.0, 20.0, 3.0, 1.5};
  const GroundPoint gp = MakeGroundPoint(cell, EdgeTop);
  testing::ExpectDoublesEq(
      {v.Dy, MakeImpedance(e, 50, 1e-12, true).LC, MakeImpedance(e, 50, 1e-9, false).LC, gp.X, gp.Y,
       gp.Size, MakeGroundPoint(cell, EdgeLeft).X, MakeGroundPoint(cell, EdgeRight).X,
       MakeGroundPoint(cell, EdgeBottom).Y},
      {1.0, -1e-12, 1e-9, 10.0, 20.75, 0.5, 8.5, 11.5, 19.25});
}

// Two strips 10 x 2 mm of 5 x 1 cells (2 x 2 mm): Jx 1..4 on the first, 5..8 on the
// second; a source on Jx 2 (x = 4) and one on Jx 6, a load on Jx 8, ground points on
// the left edge of cell 3 (x = 4) and the right edge of cell 7 (x = 19).
Project TwoSegmentProject() {
  Project p = Board(160, 100, 2.0);
  p.Saved = true;
  p.Connected = true;
  p.Segments = {{5, 1, 10, 2, 5, 1}, {20, 1, 10, 2, 5, 1}};
  const auto jx = [&](std::size_t seg, double x) {
    return *FindCurrentElementAt(p.Segments, seg, x, 1.0, true);
  };
  p.VoltageSources = {MakeVoltageSource(jx(0, 4), 1, 0), MakeVoltageSource(jx(1, 19), 2, 0)};
  p.Impedances = {MakeImpedance(jx(1, 23), 50, 0, false)};
  p.GroundPoints = {MakeGroundPoint(*FindChargeCellAt(p.Segments, 0, 5, 1), EdgeLeft),
                    MakeGroundPoint(*FindChargeCellAt(p.Segments, 1, 18, 1), EdgeRight)};
  return p;
}

// Every marker must name the element that lies under it in the layout as it now is:
// the element found at the marker's centre has the marker's number, centre and size.
template <typename Marker>
void ExpectOnItsElement(const Project& p, const Marker& m) {
  std::optional<CurrentElementHit> hit;
  for (std::size_t k = 0; k < p.Segments.size() && !hit; ++k)
    hit = FindCurrentElementAt(p.Segments, k, m.X, m.Y, m.IsJx);
  ASSERT_TRUE(hit) << "no element under the marker at " << m.X << ", " << m.Y;
  EXPECT_EQ(hit->ElementNo, m.ElementNo);
  testing::ExpectNear({hit->X, hit->Y}, {m.X, m.Y}, 1e-9);
  testing::ExpectNear({hit->Dx, hit->Dy}, {m.Dx, m.Dy}, 1e-12);
}

void ExpectEveryMarkerOnItsElement(const Project& p) {
  for (const VoltageSource& v : p.VoltageSources) ExpectOnItsElement(p, v);
  for (const ImpedanceElement& z : p.Impedances) ExpectOnItsElement(p, z);
  for (const GroundPoint& gp : p.GroundPoints) {
    std::optional<ChargeCellHit> cell;
    // The cell whose named edge has its midpoint at the ground point.
    const double ex = gp.Edge == EdgeLeft ? 1e-6 : gp.Edge == EdgeRight ? -1e-6 : 0;
    const double ey = gp.Edge == EdgeBottom ? 1e-6 : gp.Edge == EdgeTop ? -1e-6 : 0;
    for (std::size_t k = 0; k < p.Segments.size() && !cell; ++k)
      cell = FindChargeCellAt(p.Segments, k, gp.X + ex, gp.Y + ey);
    ASSERT_TRUE(cell) << "no cell under ground point at " << gp.X << ", " << gp.Y;
    EXPECT_EQ(cell->ChargeNo, gp.ChargeNo);
    const GroundPoint expected = MakeGroundPoint(*cell, gp.Edge);
    testing::ExpectNear({gp.X, gp.Y, gp.Size}, {expected.X, expected.Y, expected.Size}, 1e-12);
  }
}

TEST(ReplaceSegment, OkWithoutAChangeKeepsEveryMarkerAsItWas) {
  Project p = TwoSegmentProject();
  const Project before = p;
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_TRUE(PlanSegmentChange(p, k, p.Segments[k]).Lost.empty());
    ReplaceSegment(p, k, p.Segments[k]);
  }
  ASSERT_EQ(p.VoltageSources.size(), 2u);
  ASSERT_EQ(p.Impedances.size(), 1u);
  ASSERT_EQ(p.GroundPoints.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const GroundPoint &now = p.GroundPoints[i], &was = before.GroundPoints[i];
    EXPECT_EQ(std::tie(p.VoltageSources[i].ElementNo, now.ChargeNo, now.Edge),
              std::tie(before.VoltageSources[i].ElementNo, was.ChargeNo, was.Edge));
  }
  EXPECT_EQ(p.Impedances[0].ElementNo, 8);
  ExpectEveryMarkerOnItsElement(p);
}

TEST(ReplaceSegment, MovingOrResizingASegmentCarriesItsMarkersAlong) {
  Project p = TwoSegmentProject();
  Segment s = p.Segments[0];
  s.Xc = 45;
  s.Lx = 20;  // same counts, cells 4 mm long
  ReplaceSegment(p, 0, s);
  ASSERT_EQ(p.VoltageSources.size(), 2u);
  ASSERT_EQ(p.GroundPoints.size(), 2u);
  EXPECT_EQ(std::tie(p.VoltageSources[0].ElementNo, p.GroundPoints[0].ChargeNo),
            std::make_tuple(2, 3));
  testing::ExpectDoublesEq({p.VoltageSources[0].X, p.VoltageSources[0].Dx, p.GroundPoints[0].X},
                           {35 + 2 * 4, 4, 35 + 2 * 4});
  ExpectEveryMarkerOnItsElement(p);
  EXPECT_EQ(std::tie(p.Saved, p.Connected), std::make_tuple(false, false));
}

TEST(ReplaceSegment, ARefinementKeepsMarkersInPlaceAndShiftsTheLaterOnes) {
  // 5 -> 10 cells: every old Jx centre and cell edge is one of the new division.
  Project p = TwoSegmentProject();
  Segment s = p.Segments[0];
  s.ChX = 10;
  EXPECT_TRUE(PlanSegmentChange(p, 0, s).Lost.empty());
  ReplaceSegment(p, 0, s);
  ASSERT_EQ(p.VoltageSources.size(), 2u);
  EXPECT_DOUBLE_EQ(p.VoltageSources[0].X, 4);  // Jx 4, still at x = 4 mm
  ASSERT_EQ(p.GroundPoints.size(), 2u);
  EXPECT_EQ(
      std::tie(p.VoltageSources[0].ElementNo, p.VoltageSources[1].ElementNo,
               p.Impedances[0].ElementNo, p.GroundPoints[0].ChargeNo, p.GroundPoints[1].ChargeNo),
      std::make_tuple(4, 6 + 5, 8 + 5, 5, 7 + 5));
  ExpectEveryMarkerOnItsElement(p);
}

TEST(ReplaceSegment, ACoarserDivisionDropsOnlyMarkersWithoutAnElement) {
  Project p = TwoSegmentProject();
  Segment s = p.Segments[0];
  s.ChX = 2;  // one Jx at x = 5; cell edges at 0, 5, 10
  const SegmentChangePlan plan = PlanSegmentChange(p, 0, s);
  EXPECT_EQ(plan.Lost, (std::vector<MarkerRef>{{MarkerKind::VoltageSource, 0},
                                               {MarkerKind::GroundPoint, 0}}));
  ReplaceSegment(p, 0, s);
  ASSERT_EQ(p.VoltageSources.size(), 1u);
  ASSERT_EQ(p.GroundPoints.size(), 1u);
  EXPECT_EQ(std::tie(p.VoltageSources[0].ElementNo, p.Impedances[0].ElementNo,
                     p.GroundPoints[0].ChargeNo),
            std::make_tuple(6 - 3, 8 - 3, 7 - 3));
  ExpectEveryMarkerOnItsElement(p);
}

TEST(ReplaceSegment, JyMarkersAndEveryGroundPointEdgeFollowATwoDimensionalEdit) {
  Project p = Board(160, 100, 2.0);
  // 3 x 2 cells of 2 x 1.5 mm, then a second patch behind it.
  p.Segments = {{13, 11.5, 6, 3, 3, 2}, {43, 11.5, 6, 3, 3, 2}};
  p.VoltageSources = {MakeVoltageSource(*FindCurrentElementAt(p.Segments, 0, 13, 11.5, false), 1, 0),
                      MakeVoltageSource(*FindCurrentElementAt(p.Segments, 1, 43, 11.5, false), 1, 0),
                      MakeVoltageSource(*FindCurrentElementAt(p.Segments, 0, 12, 12, true), 1, 0)};
  for (std::int32_t edge : {EdgeLeft, EdgeRight, EdgeBottom, EdgeTop})
    p.GroundPoints.push_back(MakeGroundPoint(*FindChargeCellAt(p.Segments, 0, 13, 12), edge));
  p.GroundPoints.push_back(MakeGroundPoint(*FindChargeCellAt(p.Segments, 1, 41, 11), EdgeTop));
  Segment s = p.Segments[0];
  // 3 x 2 -> 9 x 6 cells: every old element centre and cell edge is one of the new
  // division (a factor of 2 would put the old row centres on new cell edges).
  s.ChX = 9;
  s.ChY = 6;
  EXPECT_TRUE(PlanSegmentChange(p, 0, s).Lost.empty());
  ReplaceSegment(p, 0, s);
  ASSERT_EQ(p.VoltageSources.size(), 3u);
  ASSERT_EQ(p.GroundPoints.size(), 5u);
  // Jy of the first segment 3 -> 45, cells 6 -> 54.
  EXPECT_EQ(p.VoltageSources[1].ElementNo, 3 + 2 + 42);
  EXPECT_EQ(p.GroundPoints[4].ChargeNo, 6 + 1 + 48);
  // Halving the rows instead puts the row centres, where the Jx source and the left
  // and right ground points sit, on new cell edges.
  Segment halved = p.Segments[0];
  halved.ChY = 12;
  EXPECT_EQ(PlanSegmentChange(p, 0, halved).Lost,
            (std::vector<MarkerRef>{{MarkerKind::VoltageSource, 2},
                                    {MarkerKind::GroundPoint, 0},
                                    {MarkerKind::GroundPoint, 1}}));
  ExpectEveryMarkerOnItsElement(p);
}

TEST(DeleteItems, ASegmentTakesOnlyItsOwnMarkersAlong) {
  Project p = TwoSegmentProject();
  EXPECT_EQ(MarkersOfDeletedSegments(p, 0),
            (std::vector<MarkerRef>{{MarkerKind::VoltageSource, 0},
                                    {MarkerKind::GroundPoint, 0}}));
  DeleteItems(p, ItemKind::Segment, 0);
  ASSERT_EQ(p.Segments.size(), 1u);
  ASSERT_EQ(p.VoltageSources.size(), 1u);
  EXPECT_DOUBLE_EQ(p.VoltageSources[0].ReV, 2);
  ASSERT_EQ(p.GroundPoints.size(), 1u);
  EXPECT_EQ(std::tie(p.VoltageSources[0].ElementNo, p.Impedances[0].ElementNo,
                     p.GroundPoints[0].ChargeNo),
            std::make_tuple(6 - 4, 8 - 4, 7 - 5));
  ExpectEveryMarkerOnItsElement(p);
  EXPECT_EQ(std::tie(p.Saved, p.Connected), std::make_tuple(false, false));

  Project all = TwoSegmentProject();
  EXPECT_EQ(MarkersOfDeletedSegments(all, std::nullopt).size(), 5u);
  DeleteItems(all, ItemKind::Segment, std::nullopt);
  EXPECT_TRUE(all.Segments.empty());
  EXPECT_TRUE(all.VoltageSources.empty() && all.Impedances.empty() && all.GroundPoints.empty());

  DeleteItems(p, ItemKind::Segment, 5);  // no such item: nothing changes
  EXPECT_EQ(ItemCount(p, ItemKind::Segment), 1u);
  EXPECT_EQ(ItemCount(p, ItemKind::VoltageSource), 1u);
}

TEST(DeleteItems, LaterSourcesLoadsAndGroundPointsMoveUp) {
  Project p = TwoSegmentProject();
  p.VoltageSources.push_back({0, 0, 0, 0, 3, 0, true, 3});
  DeleteItems(p, ItemKind::VoltageSource, 1);
  ASSERT_EQ(p.VoltageSources.size(), 2u);
  EXPECT_DOUBLE_EQ(p.VoltageSources[1].ReV, 3);
  EXPECT_FALSE(p.Connected);
  DeleteItems(p, ItemKind::GroundPoint, std::nullopt);
  EXPECT_TRUE(p.GroundPoints.empty());
}

TEST(MarkerLoss, TheQuestionNamesEveryMarkerAndNoAnswerKeepsThem) {
  const std::vector<MarkerRef> lost = {{MarkerKind::VoltageSource, 1},
                                       {MarkerKind::GroundPoint, 0},
                                       {MarkerKind::GroundPoint, 2}};
  EXPECT_EQ(SegmentEditLossQuestion(2, lost),
            "Warning: The new division of segment 2 has no element for voltage source 2 and "
            "ground connections 1, 3. Remove them and apply the change?");
  EXPECT_EQ(SegmentDeleteLossQuestion(std::nullopt, {{MarkerKind::Impedance, 0}}),
            "Warning: Deleting all segments also removes impedance element 1. Proceed?");
  EXPECT_EQ(SegmentsDeleteLossQuestion({1, 3}, lost),
            "Warning: Deleting segments 1, 3 also removes voltage source 2 and ground "
            "connections 1, 3. Proceed?");
  EXPECT_EQ(SegmentsDeleteLossQuestion({4}, lost), SegmentDeleteLossQuestion(4, lost));
  testing::RecordingUi ui;
  ui.answers = {Answer::No};
  EXPECT_FALSE(ConfirmMarkerLoss("q?", lost, ui));
  EXPECT_TRUE(ConfirmMarkerLoss("never asked", {}, ui));
  EXPECT_EQ(ui.questions, std::vector<std::string>{"q?"});
}

TEST(LayoutEditing, EditingValuesMarksTheProjectChanged) {
  Project p = TwoSegmentProject();
  SetVoltage(p, 1, 2.5, -1);
  // Changed, but the layout itself did not change: still connected.
  EXPECT_EQ(std::tie(p.Saved, p.Connected), std::make_tuple(false, true));
  SetImpedance(p, 0, 75, -1e-12);
  testing::ExpectDoublesEq({p.VoltageSources[1].ReV, p.VoltageSources[1].ImV, p.Impedances[0].LC},
                           {2.5, -1, -1e-12});
  SetVoltage(p, 7, 1, 1);  // no such source: nothing happens
}

TEST(SetGrid, StoresTheValuesAndMarksTheProjectChanged) {
  Project p = Board(160, 100, 2.0);
  SetGrid(p, 1.5, 2, 3, false);
  EXPECT_DOUBLE_EQ(p.GridSize, 1.5);
  EXPECT_EQ(std::tie(p.ChargesPerGridX, p.ChargesPerGridY, p.ShowGridPoints, p.Saved),
            std::make_tuple(2, 3, false, false));
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
