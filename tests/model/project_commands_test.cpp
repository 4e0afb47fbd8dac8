#include "model/project_commands.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "model/batch_mode.h"
#include "model/project_files.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::RecordingUi;
using testing::TempDir;
using testing::WriteBytes;

TEST(NewProject, GridIsTwoPercentOfTheLongerSideRoundedHalfToEven) {
  // Round(3.2); Round(0.2) = 0 gives 1 mm; Round(2.5) = 2; Round(3.5) = 4;
  // Round(199.98); Round(1.5) = 2.
  std::vector<double> grids;
  for (auto [lx, ly] : {std::pair{160, 100}, {10, 10}, {125, 25}, {25, 175}, {9999, 1}, {75, 1}})
    grids.push_back(NewProjectGridSize(lx, ly));
  EXPECT_EQ(grids, (std::vector<double>{3, 1, 2, 4, 200, 2}));
}

TEST(NewProject, ResetsTheModelAndWritesNothing) {
  TempDir dir;
  RecordingUi ui;
  Project p;
  p.Segments = {{1, 1, 1, 1, 1, 1}};
  p.VoltageSources.resize(2);
  p.Connected = true;
  p.Saved = false;
  ASSERT_TRUE(NewProject(p, dir.path(), "Project1", 160, 100, ui));
  EXPECT_EQ(p.ProjectFile, (dir / "Project1.PRO").string());
  EXPECT_EQ(std::tie(p.GridSize, p.Saved, p.Connected), std::make_tuple(3.0, true, false));
  EXPECT_TRUE(p.Segments.empty() && p.VoltageSources.empty() && ui.questions.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(NewProject, OverwritingAsksFirstAndThenDeletesTheOldProjectsFiles) {
  TempDir dir;
  for (const std::string& extension : ProjectFileExtensions())
    WriteBytes(dir / ("Old" + extension), "old");
  WriteBytes(dir / "Other.XXX", "unrelated");

  RecordingUi ui;
  Project p;
  ui.answers = {Answer::No};
  EXPECT_FALSE(NewProject(p, dir.path(), "Old", 50, 50, ui));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], "Project \"Old.PRO\" already exist.  Overwrite?");
  EXPECT_EQ(ReadBytes(dir / "Old.TXT"), "old");
  EXPECT_FALSE(p.IsOpen());

  ui.answers = {Answer::Yes};
  ASSERT_TRUE(NewProject(p, dir.path(), "Old", 50, 50, ui));
  for (const std::string& extension : ProjectFileExtensions())
    EXPECT_FALSE(std::filesystem::exists(dir / ("Old" + extension))) << extension;
  EXPECT_EQ(ReadBytes(dir / "Other.XXX"), "unrelated");
}

class ProjectCommands : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(NewProject(project, dir.path(), "board", 40, 20, ui));
    project.Segments = {{5, 1, 10, 2, 5, 1}, {15, 1, 10, 2, 5, 1}};
    project.VoltageSources = {{2, 1, 2, 2, 1, 0, true, 1}};
    project.Saved = false;
  }
  TempDir dir;
  RecordingUi ui;
  Project project;
};

TEST_F(ProjectCommands, SaveThenOpenRestoresTheLayout) {
  ASSERT_TRUE(SaveProject(project, ui));
  EXPECT_TRUE(project.Saved);
  EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"0:Saving files", "0:"}));

  Project other;
  ASSERT_TRUE(OpenProject(other, dir / "board.PRO", ui));
  EXPECT_EQ(std::make_tuple(other.Segments.size(), other.VoltageSources.size()),
            std::make_tuple(2u, 1u));
  EXPECT_EQ(other.ProjectFile, project.ProjectFile);
  EXPECT_EQ(ui.statusTexts.back(), "0:");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectCommands, FailedOpenLeavesTheOpenProjectUntouched) {
  ASSERT_TRUE(SaveProject(project, ui));
  WriteBytes(dir / "broken.PRO", ReadBytes(dir / "board.PRO"));
  const std::string brokenSeg = "40 20 2 1 1\r\n 5 1 10 2\r\n5 1\r\n 15 1 10";
  WriteBytes(dir / "broken.SEG", brokenSeg);
  project.Saved = false;
  const Project before = project;

  EXPECT_FALSE(OpenProject(project, dir / "broken.PRO", ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("broken.SEG\", line 4"), std::string::npos) << ui.messages[0];
  EXPECT_EQ(project.ProjectFile, before.ProjectFile);
  EXPECT_EQ(std::make_tuple(project.Segments.size(), project.Saved), std::make_tuple(2u, false));
  // A save now writes the open project, never a half-read copy of the broken one.
  ASSERT_TRUE(SaveProject(project, ui));
  EXPECT_EQ(ReadBytes(dir / "broken.SEG"), brokenSeg);
}

TEST_F(ProjectCommands, UnsavedChangesAreOfferedForSavingUnlessInBatchMode) {
  ui.answers = {Answer::Cancel};
  EXPECT_FALSE(ConfirmSaveChanges(project, ui));
  EXPECT_EQ(ui.questions, std::vector<std::string>{"Save changes to project?"});
  EXPECT_FALSE(std::filesystem::exists(dir / "board.PRO"));

  ui.answers = {Answer::No};
  EXPECT_TRUE(ConfirmSaveChanges(project, ui));
  EXPECT_FALSE(std::filesystem::exists(dir / "board.PRO"));

  ui.answers = {Answer::Yes};
  EXPECT_TRUE(ConfirmSaveChanges(project, ui));
  EXPECT_TRUE(std::filesystem::exists(dir / "board.PRO"));
  EXPECT_TRUE(project.Saved);

  project.Saved = false;
  ui.questions.clear();
  {
    BatchModeScope batch;
    EXPECT_TRUE(ConfirmSaveChanges(project, ui));
  }
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_FALSE(BatchMode);
}

TEST_F(ProjectCommands, SaveAsReplacesTheExtensionAsksBeforeOverwritingAndDropsConnections) {
  ASSERT_TRUE(SaveProject(project, ui));
  project.Connected = true;
  ASSERT_TRUE(SaveProjectAs(project, dir / "copy.txt", ui));
  EXPECT_EQ(project.ProjectFile, (dir / "copy.PRO").string());
  EXPECT_TRUE(std::filesystem::exists(dir / "copy.SEG"));
  EXPECT_FALSE(std::filesystem::exists(dir / "copy.JXC") || project.Connected);
  EXPECT_TRUE(ui.questions.empty());

  ui.answers = {Answer::No};
  EXPECT_FALSE(SaveProjectAs(project, dir / "board.PRO", ui));
  EXPECT_EQ(ui.questions.back(), "Project \"board.PRO\" already exist.  Overwrite?");
  EXPECT_EQ(project.ProjectFile, (dir / "copy.PRO").string());
}

TEST_F(ProjectCommands, WriteFailureKeepsTheProjectUnsavedAndNamesTheFile) {
  // A directory where the load file should go makes its write fail, even for root.
  std::filesystem::create_directory(dir / "board.IMP");
  EXPECT_FALSE(SaveProject(project, ui));
  EXPECT_FALSE(project.Saved);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("board.IMP"), std::string::npos) << ui.messages[0];
  EXPECT_EQ(ui.statusTexts.back(), "0:");
  // No temporary file is left behind.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().string().find("partial"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace lumetra
