// lumetra-cli nearfield and list as a script sees them: output, notes on the error
// stream, and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "fields/result_readers.h"
#include "tests/fields/near_field_fixtures.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::ResultBlockText;
using testing::TempDir;
using testing::WriteBytes;

struct CliRun {
  int exitCode;
  std::string out, err;
};

CliRun Cli(const TempDir& dir, const std::string& arguments) {
  const auto out = dir / "cli-out.log", err = dir / "cli-err.log";
  const std::string command = std::string(LUMETRA_CLI) + " " + arguments + " > '" + out.string() +
                              "' 2> '" + err.string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(NearFieldCli, WritesTheGridAndReportsRefusalsAndWarnings) {
  TempDir dir;
  const auto pro = dir / "cli.PRO";
  const std::string path = Quoted(pro);
  testing::WriteProject(pro, "2");

  CliRun run = Cli(dir, "nearfield " + path);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "There exist no current files, computation cannot be performed!\n");

  WriteBytes(dir / "cli.XXX", ResultBlockText(100, {{0, 0, 1, 1, 1, 0}}) +
                                  ResultBlockText(200, {{0, 0, 1, 1, 0, 1}}));
  run = Cli(dir, "nearfield " + path + " --x -10:10:10 --y 5:5:1 --z -1:1:1");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_EQ(run.out,
            "Wait! Computing Near-field at 100 MHz\n"
            "Wait! Computing Near-field at 200 MHz\n"
            "Near field of 2 frequencies, 9 points each, written to " +
                (dir / "cli.NFE").string() + " and " + (dir / "cli.NFH").string() + "\n");
  EXPECT_EQ(ScanFrequencies(dir / "cli.NFH", NearFieldFileFields),
            (std::vector<double>{100.0, 200.0}));
  EXPECT_EQ(FindBlock(dir / "cli.NFE", 200.0, NearFieldFileFields)->Rows(), 9u);

  // The warning's carriage returns become line feeds on a terminal.
  run = Cli(dir, "nearfield " + path + " --z 0.5:0.5:1");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("Warning: Distance between field point and structure too small.\n\n"
                         "Result might not be reliable!\n"),
            std::string::npos)
      << run.out;

  run = Cli(dir, "nearfield " + path + " --z -2:0:1");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "Error: Out of range! Z start value must be greater than -2\n");

  // Only the incomplete first block of a killed run: a warning on stderr, a refusal.
  WriteBytes(dir / "cli.XXX", " 1.0E+0002 2\r\n 0 0 1 1 1 0\r\n");
  run = Cli(dir, "nearfield " + path);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "There exist no current files, computation cannot be performed!\n");
  EXPECT_NE(run.err.find("cli.XXX\" (from line 1) is incomplete"), std::string::npos) << run.err;
}

TEST(ListCli, PrintsTheListAsItsPrintoutAndPicksTheFrequency) {
  TempDir dir;
  const auto pro = dir / "l.PRO";
  const std::string path = Quoted(pro);
  testing::WriteProject(pro, "0");
  WriteBytes(dir / "l.XXX", ResultBlockText(100, {{1, 2, 1, 0.5, -1, 1}}) +
                                ResultBlockText(150, {{1, 2, 1, 0.5, 0, -2}}));
  WriteBytes(dir / "l.RAD", ResultBlockText(100, {{0, 0, 0.5, 0}}));

  CliRun run = Cli(dir, "list " + path + " jx --freq 150");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_EQ(run.out,
            "Project: l.PRO\n \nJx-current at 150 MHz\n \n"
            "Amp [A/m]  Phase [deg]  dx [mm]  dy [mm]  dz [mm]  xc [mm]  yc [mm]   \n \n"
            " 2.000E+00    -90.00      1.00      0.50       -      1.00      2.00 \n");
  EXPECT_EQ(run.err, "");

  // Several blocks and no --freq: the first, as the dialog preselects it.
  run = Cli(dir, "list " + path + " jx");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("Jx-current at 100 MHz\n"), std::string::npos);
  EXPECT_NE(run.out.find(" 1.414E+00    -45.00"), std::string::npos) << run.out;
  EXPECT_EQ(run.err,
            "lumetra-cli list: 2 frequencies (100, 150 MHz), listing the first; choose one with "
            "--freq\n");

  run = Cli(dir, "list " + path + " jx --freq 125");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "You must select a frequency to list!\n");
  EXPECT_EQ(run.err, "lumetra-cli list: no results at 125 MHz; the files hold 100, 150 MHz\n");

  // A single block is listed whatever --freq says, with a note.
  run = Cli(dir, "list " + path + " rad --freq 150");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("Far-field at 100 MHz"), std::string::npos);
  EXPECT_EQ(run.err, "lumetra-cli list: the file holds a single block, at 100 MHz\n");

  run = Cli(dir, "list " + path + " nfe");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "There exist no data to list!\n");

}

}  // namespace
}  // namespace lumetra
