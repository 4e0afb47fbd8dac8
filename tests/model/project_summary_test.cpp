#include "model/project_summary.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model/file_io.h"
#include "model/project_files.h"
#include "model/project_listing.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(ProjectSummary, LabelsFollowTheProjectFileLines) {
  TempDir dir;
  Project p;
  p.ProjectFile = (dir / "board.PRO").string();
  p.PcbLx = 160;
  p.PcbLy = 100;
  p.GridSize = 3;
  p.Env = {true, "1.6", false, "0.1", "4.4"};
  p.Segments = {{10, 5, 4, 2, 2, 1}};
  SaveProjectFiles(p, p.ProjectFile, {"06.12.2026", "23:07:21"});
  const ProjectSummary s = ReadProjectSummary(p.ProjectFile);
  EXPECT_EQ(s.Title, "Details for board.PRO");
  EXPECT_EQ(s.Labels, (std::vector<std::string>{
                          "Date: 06.12.2026", "Time: 23:07:21", "Length: 160 mm", "Width: 100 mm",
                          "No. of segments: 1", "No. of charge elements: 2",
                          "Ground plane height: 1.6 mm", "Resistivity not specified",
                          "Grid size: 3 mm", "Charges per x-grid: 1", "Charges per y-grid: 1",
                          "No. of sources: 0", "No. of impedances: 0", "No. of ground points: 0",
                          "Relative dielectric constant: 4.4"}));
}

TEST(ProjectSummary, UncheckedGroundPlaneAndMissingDielectricLine) {
  TempDir dir;
  WriteBytes(dir / "old.PRO", "d\r\nt\r\n1\r\n2\r\n0\r\n0\r\n0\r\n0\r\n2\r\n1\r\n1\r\n0\r\n0\r\n0\r\n");
  const ProjectSummary s = ReadProjectSummary(dir / "old.PRO");
  EXPECT_EQ(std::tie(s.Labels[6], s.Labels[14]),
            std::make_tuple("Ground plane not specified", "Free space environment"));
  // The environment line never contradicts the ground-plane line: a stored constant
  // without a plane is free space, a plane with a constant of 1 has air above it.
  WriteBytes(dir / "off.PRO", "d\r\nt\r\n1\r\n2\r\n0\r\n0\r\n0\r\n0\r\n2\r\n1\r\n1\r\n0\r\n0\r\n0\r\n4.4\r\n");
  EXPECT_EQ(ReadProjectSummary(dir / "off.PRO").Labels[14], "Free space environment");
  WriteBytes(dir / "air.PRO", "d\r\nt\r\n1\r\n2\r\n0\r\n0\r\n1.6\r\n0\r\n2\r\n1\r\n1\r\n0\r\n0\r\n0\r\n1\r\n");
  const ProjectSummary air = ReadProjectSummary(dir / "air.PRO");
  EXPECT_EQ(std::tie(air.Labels[6], air.Labels[14]),
            std::make_tuple("Ground plane height: 1.6 mm", "Air between layout and ground plane"));
  WriteBytes(dir / "short.PRO", "d\nt\n");
  EXPECT_THROW(ReadProjectSummary(dir / "short.PRO"), FileError);
  EXPECT_THROW(ReadProjectSummary(dir / "never-saved.PRO"), FileError);
}

TEST(ProjectNote, RoundTripsWithCrLfAndIsOptional) {
  TempDir dir;
  const auto pro = dir / "board.PRO";
  EXPECT_FALSE(ReadProjectNote(pro).has_value());
  WriteProjectNote(pro, "first line\nsecond line\n\nlast");
  EXPECT_EQ(ReadBytes(dir / "board.TXT"), "first line\r\nsecond line\r\n\r\nlast\r\n");
  EXPECT_EQ(ReadProjectNote(pro).value(), "first line\nsecond line\n\nlast");
  WriteBytes(dir / "board.TXT", "unix\nnote\n");
  EXPECT_EQ(ReadProjectNote(pro).value(), "unix\nnote");
}

}  // namespace
}  // namespace lumetra

// The listing printed with the layout.
namespace lumetra {
namespace {

TEST(ProjectListing, EveryRecordInTwelveCharacterFields) {
  Project p;
  p.ProjectFile = "/boards/filter.PRO";
  p.PcbLx = 160;
  p.PcbLy = 100;
  p.Segments = {{10, 5, 4, 2, 2, 1}, {-0.5, 12.25, 1, 30, 1, 10}};
  VoltageSource v;
  v.ReV = 1;
  v.ImV = -0.5;
  p.VoltageSources = {v};
  ImpedanceElement z;
  z.R = 50;
  z.LC = -1e-12;  // a 1 pF capacitor
  p.Impedances = {z};
  GroundPoint g;
  g.X = 9;
  g.Y = 99.99995;  // rounds up into the next decade
  p.GroundPoints = {g};
  EXPECT_EQ(ProjectListingLines(p),
            (std::vector<std::string>{
                "Project: /boards/filter.PRO", " ", " ", "PCB length: 160 mm",
                "PCB width : 100 mm", " ", "Voltage sources:",
                "   1    Real-part:  1.000E+0000 , Imaginary-part: -5.000E-0001", "",
                "Impedance elements:",
                "   1    Real-part:  5.000E+0001 , Imaginary-part: -1.000E-0012", "",
                "Segments:",
                "   1    X-center:  1.000E+0001 , Y-center:  5.000E+0000 , Lx:  4.000E+0000 , "
                "Ly:  2.000E+0000",
                "   2    X-center: -5.000E-0001 , Y-center:  1.225E+0001 , Lx:  1.000E+0000 , "
                "Ly:  3.000E+0001",
                "", "Ground points:",
                "   1    X-center:  9.000E+0000 , Y-center:  1.000E+0002"}));
}

TEST(ProjectListing, EmptySectionsKeepHeadingAndBlankLine) {
  Project p;
  p.ProjectFile = "/b/empty.PRO";
  const std::vector<std::string> lines = ProjectListingLines(p);
  const std::vector<std::string> tail(lines.begin() + 6, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Voltage sources:", "", "Impedance elements:", "",
                                            "Segments:", "", "Ground points:"}));
}

TEST(ProjectListing, RecordNumbersRightAlignedInFourCharacters) {
  Project p;
  p.Segments.resize(1234, Segment{1, 1, 1, 1, 1, 1});
  const std::vector<std::string> lines = ProjectListingLines(p);
  const auto numberOf = [&](std::size_t k) { return lines[11 + k].substr(0, 8); };
  EXPECT_EQ(numberOf(0) + numberOf(9) + numberOf(99) + numberOf(1233),
            "   1      10     100    1234    ");
}

}  // namespace
}  // namespace lumetra
