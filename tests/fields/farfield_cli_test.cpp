// lumetra-cli farfield as a script sees it: output and exit codes.
#include <gtest/gtest.h>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "tests/cli/cli_run.h"
#include "tests/fields/result_fixtures.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::CliRun;
using testing::TempDir;

TEST(FarFieldCli, ComputesFromTheCurrentFilesAndReportsRefusals) {
  TempDir dir;
  const auto pro = dir / "strip.PRO";
  const std::string farfield = "farfield '" + pro.string() + "'";  // quoted for the shell
  testing::WriteProject(pro, "0");

  CliRun run = Cli(dir, farfield);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "There exist no current files, computation cannot be performed!\n");

  CreateEmptyResultFiles(pro);
  const std::vector<CurrentCell> jy = {testing::Element(0.01, 0.01, 0.002, 0.002)};
  const Complex current[] = {{0.0, 1.0}};
  WriteCurrentFile(dir / "strip.YYY", true, 433.92, jy, current);

  run = Cli(dir, farfield + " --theta 0:180:10 --phi 0:90:90");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "Wait! Computing far-field at 433.92 MHz\n"
                        "Far field of 1 frequency written to " +
                            (dir / "strip.RAD").string() + "\n");
  EXPECT_EQ(FindBlock(dir / "strip.RAD", 433.92, FarFieldFileFields)->Rows(), 19u * 2u);

  run = Cli(dir, farfield + " --phi 0:360:0.1");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: Out of range! Far field Phi angle step must be greater than 0.1\n");

  // A run killed in its first block: nothing whole to compute from.
  testing::WriteBytes(dir / "strip.YYY", " 4.33920000000000E+0002 5\r\n");
  run = Cli(dir, farfield);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("strip.YYY\" (from line 1) is incomplete"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("There exist no current files, computation cannot be performed!"),
            std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace lumetra
