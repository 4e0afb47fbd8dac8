// lumetra-cli farfield as a script sees it: output and exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "tests/fields/result_fixtures.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::TempDir;

struct CliRun {
  int exitCode;
  std::string output;
};

CliRun FarFieldCli(const TempDir& dir, const std::string& arguments) {
  const auto log = dir / "cli-output.log";
  const std::string command =
      std::string(LUMETRA_CLI) + " farfield " + arguments + " > '" + log.string() + "' 2>&1";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(log)};
}

TEST(FarFieldCli, ComputesFromTheCurrentFilesAndReportsRefusals) {
  TempDir dir;
  const auto pro = dir / "strip.PRO";
  std::string path = pro.string();  // quoted for the shell
  path.insert(path.begin(), '\'');
  path.push_back('\'');
  testing::WriteProFile(pro, "0");

  CliRun run = FarFieldCli(dir, path);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "There exist no current files, computation cannot be performed!\n");

  CreateEmptyResultFiles(pro);
  const std::vector<CurrentCell> jy = {testing::Element(0.01, 0.01, 0.002, 0.002)};
  const Complex current[] = {{0.0, 1.0}};
  WriteCurrentFile(dir / "strip.YYY", true, 433.92, jy, current);

  run = FarFieldCli(dir, path + " --theta 0:180:10 --phi 0:90:90");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "Wait! Computing far-field at 433.92 MHz\n"
                        "Far field of 1 frequency written to " +
                            (dir / "strip.RAD").string() + "\n");
  EXPECT_EQ(FindBlock(dir / "strip.RAD", 433.92, FarFieldFileFields)->Rows(), 19u * 2u);

  run = FarFieldCli(dir, path + " --phi 0:360:0.1");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: Out of range! Far field Phi angle step must be greater than 0.1\n");

  // A run killed in its first block: nothing whole to compute from.
  testing::WriteBytes(dir / "strip.YYY", " 4.33920000000000E+0002 5\r\n");
  run = FarFieldCli(dir, path);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("strip.YYY\" (from line 1) is incomplete"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("There exist no current files, computation cannot be performed!"),
            std::string::npos)
      << run.output;
  testing::WriteBytes(dir / "strip.YYY", " 4.33920000000000E+0002 5\r\n1 2\r\n 5.0E+0002 1\r\n");
  run = FarFieldCli(dir, path);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("strip.YYY\", line 2: 6 numbers expected on a data line, 2 found"),
            std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace lumetra
