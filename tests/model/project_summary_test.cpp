#include <gtest/gtest.h>

#include "model/file_io.h"
#include "model/project_files.h"
#include "model/project_summary.h"
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
  EXPECT_EQ(s.Labels[6], "Ground plane not specified");
  EXPECT_EQ(s.Labels[14], "Free space environment");
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
