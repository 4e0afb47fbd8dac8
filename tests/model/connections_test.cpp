#include "model/connections.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "model/file_io.h"
#include "model/project_files.h"
#include "tests/support/expect_values.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::RecordingUi;
using testing::TempDir;

// A connecting element's centre and size (mm) and the cells it joins.
void ExpectJoin(const CurrentElement& e, const std::vector<double>& place, int from, int to) {
  testing::ExpectDoublesEq({e.X, e.Y, e.Dx, e.Dy}, place);
  EXPECT_EQ(std::tie(e.From, e.To), std::tie(from, to));
}

TEST(Connections, TenMillimetrePairGetsOneJxBetweenTheFacingCells) {
  const std::vector<Segment> segments = {{5, 1, 10, 2, 5, 1}, {15, 1, 10, 2, 5, 1}};
  EXPECT_FALSE(CheckConnections(segments));
  const ConnectingElements c = FindConnectingElements(segments);
  ASSERT_EQ(c.Jx.size(), 1u);
  EXPECT_TRUE(c.Jy.empty());
  ExpectJoin(c.Jx[0], {10, 1, 2, 2}, 5, 6);
  // The list order does not matter: the right segment first still joins left to right.
  const ConnectingElements swapped = FindConnectingElements({segments[1], segments[0]});
  ASSERT_EQ(swapped.Jx.size(), 1u);
  EXPECT_EQ(std::tie(swapped.Jx[0].From, swapped.Jx[0].To), std::make_tuple(10, 1));
}

TEST(Connections, UnequalDensityAcrossAnyEdgeIsRefused) {
  // Side by side, either order; vertical neighbours compare the density along x.
  const Segment left{5, 1, 10, 2, 5, 1}, right{15, 1, 10, 2, 5, 2};
  const Segment upper{5, 3, 10, 2, 5, 1}, lower{5, 1, 10, 2, 4, 1};
  for (const auto& [a, b] : {std::pair{left, right}, {right, left}, {upper, lower}, {lower, upper}})
    EXPECT_TRUE(CheckConnections({a, b}));
  // Different cell counts with the same density are fine.
  EXPECT_FALSE(CheckConnections({{5, 1, 10, 2, 5, 1}, {15, 2, 10, 4, 5, 2}}));
}

TEST(Connections, LJunctionJoinsTheLowerTopRowToTheUpperBottomRow) {
  // A: vertical arm 2 x 10 above; B: horizontal arm 10 x 2 below, sharing y = 2.
  const std::vector<Segment> segments = {{1, 7, 2, 10, 1, 5}, {5, 1, 10, 2, 5, 1}};
  EXPECT_FALSE(CheckConnections(segments));
  const ConnectingElements c = FindConnectingElements(segments);
  EXPECT_TRUE(c.Jx.empty());
  ASSERT_EQ(c.Jy.size(), 1u);
  // y = y1A + dyA/4 - dyB/4 = 2 + 0.5 - 0.5; from B's only row, first column (B's
  // base is 5) to A's bottom cell.
  ExpectJoin(c.Jy[0], {1, 2, 2, 2}, 6, 1);
}

TEST(Connections, CornerContactOffsetRowsAndOverlapGiveNothingAndNoError) {
  const std::vector<std::vector<Segment>> layouts = {
      {{5, 1, 10, 2, 5, 1}, {15, 3, 10, 2, 5, 1}},   // corners touch at (10, 2)
      {{5, 1, 10, 2, 5, 2}, {15, 1.5, 10, 2, 5, 2}}, // equal density, rows offset by 0.5
      {{5, 1, 10, 2, 5, 1}, {8, 1, 10, 2, 5, 1}},    // overlapping, not edge-touching
  };
  for (const auto& layout : layouts) {
    EXPECT_FALSE(CheckConnections(layout));
    const ConnectingElements c = FindConnectingElements(layout);
    EXPECT_TRUE(c.Jx.empty() && c.Jy.empty());
  }
}

TEST(Connections, WideSegmentsMatchEveryRowOfEqualHeight) {
  // Left 2 rows of 1 mm; right 4 rows of 1 mm spanning y 0..4: rows at 0.5 and 1.5.
  const std::vector<Segment> segments = {{1, 1, 2, 2, 1, 2}, {3, 2, 2, 4, 1, 4}};
  const ConnectingElements c = FindConnectingElements(segments);
  ASSERT_EQ(c.Jx.size(), 2u);
  testing::ExpectDoublesEq({c.Jx[0].Y, c.Jx[1].Y}, {0.5, 1.5});
  EXPECT_EQ(std::tie(c.Jx[0].From, c.Jx[0].To, c.Jx[1].From, c.Jx[1].To),
            std::make_tuple(1, 3, 2, 4));
}

class ConnectionStep : public ::testing::Test {
protected:
  void SetUp() override {
    project.ProjectFile = (dir / "board.PRO").string();
    project.PcbLx = 40;
    project.PcbLy = 20;
  }
  TempDir dir;
  Project project;
  RecordingUi ui;
};

TEST_F(ConnectionStep, WritesBothFilesInTheirRecordForm) {
  project.Segments = {{5, 1, 10, 2, 5, 1}, {15, 1, 10, 2, 5, 1}};
  ASSERT_TRUE(RunConnectionStep(project, ui));
  EXPECT_TRUE(project.Connected);
  EXPECT_EQ(ReadBytes(dir / "board.JXC"),
            " 1.00000000000000E+0001  1.00000000000000E+0000 2.00000000000000E+0000  "
            "2.00000000000000E+0000\r\n5 6\r\n");
  EXPECT_EQ(ReadBytes(dir / "board.JYC"), "");
  EXPECT_EQ(ui.busyOn, ui.busyOff);
  // The file reads back through the element reader despite the missing blank.
  const auto read = ParseCurrentElementFile(ReadBytes(dir / "board.JXC"), "board.JXC");
  ASSERT_EQ(read.size(), 1u);
  ExpectJoin(read[0], {10, 1, 2, 2}, 5, 6);
}

TEST_F(ConnectionStep, OneSegmentCreatesEmptyFilesAndConnects) {
  project.Segments = {{5, 1, 10, 2, 5, 1}};
  ASSERT_TRUE(RunConnectionStep(project, ui));
  EXPECT_TRUE(project.Connected);
  EXPECT_TRUE(std::filesystem::exists(dir / "board.JXC"));
  EXPECT_TRUE(std::filesystem::exists(dir / "board.JYC"));
  EXPECT_EQ(std::filesystem::file_size(dir / "board.JXC"), 0u);
}

TEST_F(ConnectionStep, IncompatibleDensitiesLeaveThePreviousFilesAlone) {
  testing::WriteBytes(dir / "board.JXC", "old jx");
  testing::WriteBytes(dir / "board.JYC", "old jy");
  project.Connected = true;
  project.Segments = {{5, 1, 10, 2, 5, 1}, {15, 1, 10, 2, 5, 2}};
  EXPECT_FALSE(RunConnectionStep(project, ui));
  EXPECT_FALSE(project.Connected);
  EXPECT_EQ(std::make_tuple(ReadBytes(dir / "board.JXC"), ReadBytes(dir / "board.JYC")),
            std::make_tuple("old jx", "old jy"));
}

}  // namespace
}  // namespace lumetra
