#include "model/project_files.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model/file_io.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const SaveStamp Stamp{"06.12.2026", "23:07:21"};

// A project that exercises every record type and both directions.
Project FullProject(const std::filesystem::path& proFile) {
  Project p;
  p.ProjectFile = proFile.string();
  p.PcbLx = 160;
  p.PcbLy = 100;
  p.GridSize = 2.5;
  p.ChargesPerGridX = 2;
  p.ChargesPerGridY = 3;
  p.Env = {true, "1.6", true, "0.05", "4.4"};
  p.Segments = {{10, 5, 4, 2, 2, 1}, {20.125, 1.0 / 3.0, 6, 4, 3, 2}};
  p.VoltageSources = {{10, 5, 2, 2, 1.0, -0.5, true, 1}, {20.125, 1.0 / 3.0, 2, 2, 0, 2.5e-3, false, 3}};
  p.Impedances = {{19.125, -1.0 / 3.0 + 0.5, 2, 2, 50, -1e-12, true, 2},
                  {20.125, 0.3333, 2, 2, 0, 0, false, 1}};
  p.GroundPoints = {{1, EdgeLeft, 2.0 / 3.0, 8, 5}, {8, EdgeTop, 2.0 / 3.0, 22.125, 2.3333333333}};
  return p;
}

const char* const AllExtensions[] = {".PRO", ".SEG", ".CHE", ".JXE", ".JYE", ".GEN", ".IMP", ".GPC"};

TEST(ProjectFiles, EveryRecordSurvivesSaveOpenSaveByteIdentical) {
  TempDir first, second;
  Project original = FullProject(first / "board.PRO");
  SaveProjectFiles(original, original.ProjectFile, Stamp);

  Project loaded = LoadProject(first / "board.PRO");
  const Environment& env = loaded.Env;
  EXPECT_EQ(std::tie(loaded.Saved, loaded.Connected, env.GPHeight, env.GroundPlane,
                     env.Conductivity, env.DielConst),
            std::make_tuple(true, false, "1.6", true, "0.05", "4.4"));
  ASSERT_EQ(loaded.Segments.size(), 2u);
  ASSERT_EQ(loaded.VoltageSources.size(), 2u);
  EXPECT_EQ(
      std::tie(loaded.Segments[1].ChY, loaded.VoltageSources[1].IsJx, loaded.GroundPoints[1].Edge),
      std::make_tuple(2, false, EdgeTop));
  EXPECT_DOUBLE_EQ(loaded.Impedances[0].LC, -1e-12);

  loaded.ProjectFile = (second / "board.PRO").string();
  SaveProjectFiles(loaded, loaded.ProjectFile, Stamp);
  for (const char* extension : AllExtensions)
    EXPECT_EQ(ReadBytes(first / (std::string("board") + extension)),
              ReadBytes(second / (std::string("board") + extension)))
        << extension;
}

TEST(ProjectFiles, WritesTheExactLineForms) {
  TempDir dir;
  const Project p = FullProject(dir / "board.PRO");
  SaveProjectFiles(p, p.ProjectFile, Stamp);
  EXPECT_EQ(ReadBytes(dir / "board.PRO"),
            "06.12.2026\r\n23:07:21\r\n160\r\n100\r\n2\r\n8\r\n1.6\r\n0.05\r\n2.5\r\n2\r\n3\r\n"
            "2\r\n2\r\n2\r\n4.4\r\n");
  const std::string seg = ReadBytes(dir / "board.SEG");
  EXPECT_EQ(seg.substr(0, seg.find("\r\n") + 2), "160 100  2.50000000000000E+0000 2 3\r\n");
  EXPECT_NE(seg.find("\r\n2 1 \r\n"), std::string::npos);  // counts line ends in a blank
  EXPECT_EQ(ReadBytes(dir / "board.CHE").substr(0, 97),
            " 9.00000000000000E+0000  5.00000000000000E+0000  2.00000000000000E+0000  "
            "2.00000000000000E+0000\r\n");
  const std::string gen = ReadBytes(dir / "board.GEN");
  EXPECT_NE(gen.find("\r\n 1.00000000000000E+0000 -5.00000000000000E-0001 1 1\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadBytes(dir / "board.GPC").substr(0, 30), "1 1  6.66666666666667E-0001\r\n ");
}

TEST(ProjectFiles, ProjectWithoutSegmentsSavesHeaderOnlyAndEmptyElementFiles) {
  TempDir dir;
  Project p;
  p.ProjectFile = (dir / "empty.PRO").string();
  p.PcbLx = 10;
  p.PcbLy = 10;
  p.GridSize = 1;
  SaveProjectFiles(p, p.ProjectFile, Stamp);
  EXPECT_EQ(ReadBytes(dir / "empty.SEG"), "10 10  1.00000000000000E+0000 1 1\r\n");
  for (const char* extension : {".CHE", ".JXE", ".JYE", ".GEN", ".IMP", ".GPC"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / (std::string("empty") + extension))) << extension;
    EXPECT_EQ(ReadBytes(dir / (std::string("empty") + extension)), "") << extension;
  }
  EXPECT_TRUE(LoadProject(p.ProjectFile).Segments.empty());
}

TEST(ProjectFiles, SingleCellDirectionsContributeNoCurrentElements) {
  TempDir dir;
  Project p;
  p.ProjectFile = (dir / "p.PRO").string();
  p.Segments = {{5, 5, 10, 2, 1, 1}};
  SaveProjectFiles(p, p.ProjectFile, Stamp);
  EXPECT_EQ(ReadBytes(dir / "p.JXE") + ReadBytes(dir / "p.JYE"), "");
  EXPECT_FALSE(ReadBytes(dir / "p.CHE").empty());
}

TEST(ProjectFiles, UncheckedGroundPlaneAndResistivityAreWrittenAsZero) {
  TempDir dir;
  Project p = FullProject(dir / "p.PRO");
  p.Env.GroundPlane = false;
  p.Env.GPHeight = "7.5";
  p.Env.FiniteConductivity = false;
  SaveProjectFiles(p, p.ProjectFile, Stamp);
  const Project loaded = LoadProject(p.ProjectFile);
  const Environment& env = loaded.Env;
  EXPECT_EQ(std::tie(env.GroundPlane, env.GPHeight, env.FiniteConductivity, env.Conductivity),
            std::make_tuple(false, "0", false, "0"));
}

TEST(ProjectFiles, OldProjectFileWithoutLineFifteenMeansFreeSpaceAndLfIsAccepted) {
  TempDir dir;
  Project p = FullProject(dir / "p.PRO");
  SaveProjectFiles(p, p.ProjectFile, Stamp);
  std::string pro = ReadBytes(dir / "p.PRO");
  pro = pro.substr(0, pro.rfind("4.4\r\n"));
  // Rewrite every file with bare LF line ends, as an editor on Linux might.
  for (const char* extension : AllExtensions) {
    const auto path = dir / (std::string("p") + extension);
    std::string text = extension == std::string(".PRO") ? pro : ReadBytes(path);
    std::string lf;
    for (char c : text)
      if (c != '\r') lf += c;
    WriteBytes(path, lf);
  }
  const Project loaded = LoadProject(p.ProjectFile);
  EXPECT_EQ(std::make_tuple(loaded.Env.DielConst, loaded.Env.GPHeight, loaded.Segments.size(),
                            loaded.GroundPoints.size()),
            std::make_tuple("1", "1.6", 2u, 2u));
}

TEST(ProjectFiles, MissingRecordFilesAreEmptyLists) {
  TempDir dir;
  Project p = FullProject(dir / "p.PRO");
  SaveProjectFiles(p, p.ProjectFile, Stamp);
  for (const char* extension : {".GEN", ".IMP", ".GPC"})
    std::filesystem::remove(dir / (std::string("p") + extension));
  const Project loaded = LoadProject(p.ProjectFile);
  EXPECT_TRUE(loaded.VoltageSources.empty() && loaded.Impedances.empty() &&
              loaded.GroundPoints.empty());
}

TEST(ProjectFiles, TemporaryCopyRefreshesTheRealProAndWritesTheRestUnderTheBase) {
  TempDir project, work;
  Project p = FullProject(project / "p.PRO");
  SaveProjectFiles(p, work / TempFileBase, Stamp);
  EXPECT_TRUE(std::filesystem::exists(project / "p.PRO"));
  EXPECT_FALSE(std::filesystem::exists(work / "TempFile.PRO"));
  EXPECT_FALSE(std::filesystem::exists(project / "p.SEG"));
  for (const char* extension : {".SEG", ".CHE", ".JXE", ".JYE", ".GEN", ".IMP", ".GPC"})
    EXPECT_TRUE(std::filesystem::exists(work / (std::string("TempFile") + extension)));
  WriteBytes(work / "TempFile.PRO", "x");
  WriteBytes(work / "TempFile.JXC", "kept");  // never a temporary copy
  std::filesystem::remove(work / "TempFile.GPC");  // missing ones are fine
  DeleteTempFiles(work.path());
  for (const char* extension : AllExtensions)
    EXPECT_FALSE(std::filesystem::exists(work / (std::string("TempFile") + extension)));
  EXPECT_TRUE(std::filesystem::exists(work / "TempFile.JXC"));
}

TEST(ProjectFiles, ElementFilesReadBackAsWritten) {
  TempDir dir;
  Project p = FullProject(dir / "p.PRO");
  SaveProjectFiles(p, p.ProjectFile, Stamp);
  const auto charges = ParseChargeElementFile(ReadBytes(dir / "p.CHE"), "p.CHE");
  const auto jy = ParseCurrentElementFile(ReadBytes(dir / "p.JYE"), "p.JYE");
  ASSERT_EQ(charges.size(), 8u);
  EXPECT_DOUBLE_EQ(charges[2].X, 18.125);
  ASSERT_EQ(jy.size(), 3u);
  EXPECT_EQ(std::tie(jy[2].From, jy[2].To), std::make_tuple(5, 8));
}

}  // namespace
}  // namespace lumetra
