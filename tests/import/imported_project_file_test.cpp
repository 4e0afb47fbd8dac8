// Saving an imported project as a new one, and the wavelength its cells are sized by.
#include "import/imported_project_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <vector>

#include "import/kicad_import.h"
#include "import/stackup_environment.h"
#include "model/project_files.h"
#include "tests/support/expect_values.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::RecordingUi;
using testing::TempDir;

Project ImportedLayout() {
  Project project;
  project.PcbLx = 30;
  project.PcbLy = 20;
  project.GridSize = 0.25;
  project.Segments = {Segment{6.0, 8.125, 8.0, 0.25, 2, 1}};
  project.Saved = false;
  return project;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(SaveImportedProject, WritesANewProjectUnderTheNameWithTheExtensionPro) {
  TempDir dir;
  RecordingUi ui;
  Project project = ImportedLayout();
  ASSERT_TRUE(SaveImportedProject(project, dir / "clock.kicad", ui));
  EXPECT_EQ(project.ProjectFile, (dir / "clock.PRO").string());
  EXPECT_TRUE(project.Saved && ui.questions.empty() && ui.messages.empty());
  const Project back = LoadProject(dir / "clock.PRO");
  ASSERT_EQ(back.Segments.size(), 1u);
  EXPECT_EQ(std::tie(back.PcbLx, back.Segments[0].ChX), std::make_tuple(30, 2));
  EXPECT_DOUBLE_EQ(back.Segments[0].Lx, 8.0);
}

TEST(SaveImportedProject, AnExistingProjectIsReplacedOnlyWhenTheUserAgreesAndLosesItsResults) {
  TempDir dir;
  WriteText(dir / "clk.PRO", "old project");
  WriteText(dir / "clk.JXC", "old connecting elements");
  WriteText(dir / "clk.RAD", "old far field");
  RecordingUi ui;
  ui.answers = {Answer::No};
  Project project = ImportedLayout();
  EXPECT_FALSE(SaveImportedProject(project, dir / "clk.PRO", ui));
  EXPECT_EQ(ui.questions, std::vector<std::string>{"Project \"clk.PRO\" already exist.  Overwrite?"});
  EXPECT_EQ(testing::ReadBytes(dir / "clk.PRO"), "old project");
  EXPECT_TRUE(std::filesystem::exists(dir / "clk.RAD"));

  ui.answers = {Answer::Yes};
  ASSERT_TRUE(SaveImportedProject(project, dir / "clk.PRO", ui));
  // The old results belonged to another layout.
  EXPECT_FALSE(std::filesystem::exists(dir / "clk.RAD") ||
               std::filesystem::exists(dir / "clk.JXC"));
  EXPECT_EQ(LoadProject(dir / "clk.PRO").Segments.size(), 1u);
  EXPECT_FALSE(project.Connected);
}

TEST(SaveImportedProject, AMissingDirectoryIsShownAndNothingClaimsToBeSaved) {
  TempDir dir;
  RecordingUi ui;
  Project project = ImportedLayout();
  EXPECT_FALSE(SaveImportedProject(project, dir / "no" / "such" / "x.PRO", ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("x.PRO"), std::string::npos) << ui.messages[0];
  EXPECT_FALSE(project.Saved);
}

// Two layers 1.51 mm apart in epsilon_r 4.5 (no outline needed for the environment).
KicadBoard TwoLayerBoard(bool withBottom) {
  KicadBoard board;
  board.layers = {{0, "F.Cu", "signal"}};
  if (withBottom) {
    board.layers.push_back({31, "B.Cu", "signal"});
    board.stackup = {{"F.Cu", "copper", 0.035, {}, {}, ""},
                     {"dielectric 1", "core", 1.51, 4.5, {}, "FR4"},
                     {"B.Cu", "copper", 0.035, {}, {}, ""}};
  }
  return board;
}

TEST(CellWavelength, IsTheWavelengthInTheSubstrateUnderTheLayer) {
  KicadImportOptions options;
  options.layer = "F.Cu";
  // 1 GHz in epsilon_r 4.5: 299.79 mm / sqrt(4.5) = 141.32 mm.
  EXPECT_NEAR(CellWavelengthMm(TwoLayerBoard(true), options), 141.3245, 1e-3);
  EXPECT_DOUBLE_EQ(ImportPermittivity(TwoLayerBoard(true), options), 4.5);
  // The user's permittivity wins; at 3 GHz in air a third of 299.79 mm.
  options.dielectric = 1.0;
  options.maxFrequencyMHz = 3000.0;
  EXPECT_NEAR(CellWavelengthMm(TwoLayerBoard(true), options), 99.93082, 1e-4);
  // One copper layer: free space, whatever permittivity is typed, until a plane is given.
  KicadImportOptions single;
  single.dielectric = 4.0;
  std::vector<double> permittivities = {ImportPermittivity(TwoLayerBoard(false), single)};
  single.groundPlaneMm = 0.8;
  permittivities.push_back(ImportPermittivity(TwoLayerBoard(false), single));
  single.dielectric.reset();
  permittivities.push_back(ImportPermittivity(TwoLayerBoard(false), single));
  testing::ExpectDoublesEq(permittivities, {1.0, 4.0, AssumedEpsilonR});
}

}  // namespace
}  // namespace lumetra
