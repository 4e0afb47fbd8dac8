// lumetra-cli as a script sees it: output, exit codes and the files it leaves.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::CopyExample;
using testing::CliRun;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;


// The project files themselves and the overwrite question are the model's
// (project_commands_test); here the exit codes and --force.
TEST(Cli, NewWillNotOverwriteUnaskedButDoesWithForce) {
  TempDir dir;
  const std::string pro = (dir / "fresh.PRO").string();
  ASSERT_EQ(Cli(dir, "new " + pro + " --board 160 100").exitCode, 0);
  CliRun run = Cli(dir, "new " + pro + " --board 50 50");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("Project \"fresh.PRO\" already exist.  Overwrite? No"),
            std::string::npos) << run.output;
  EXPECT_EQ(ReadBytes(dir / "fresh.SEG"), "160 100  3.00000000000000E+0000 1 1\r\n");
  EXPECT_EQ(Cli(dir, "new " + pro + " --board 50 50 --force").exitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "fresh.SEG"), "50 50  1.00000000000000E+0000 1 1\r\n");
}

// Every command: a missing or extra argument, an unknown command or option, or an
// option without its values is a usage error, told apart from a failed run.
TEST(Cli, MalformedCommandLinesExitWithTwo) {
  TempDir dir;
  const std::string commandLines[] = {
      "", "frobnicate x.PRO", "new " + (dir / "p.PRO").string(), "new p.PRO --board 10",
      "info", "save a.PRO b.PRO",
      "farfield", "farfield a.PRO --theta 0:90", "farfield a.PRO --phi", "farfield a.PRO b.PRO",
      "nearfield", "nearfield a.PRO --x 0:10", "nearfield a.PRO --z",
      "nearfield a.PRO --eps-eff 0.5", "nearfield a.PRO b.PRO",
      "list", "list a.PRO", "list a.PRO jw", "list a.PRO jx --freq abc", "list a.PRO jx extra",
      "batch", "batch a.jobs b.jobs"};
  for (const std::string& line : commandLines) EXPECT_EQ(Cli(dir, line).exitCode, 2) << line;
  EXPECT_EQ(Cli(dir, "--help").exitCode, 0);
}

// The connecting elements themselves are the model's (connections_test).
TEST(Cli, SaveAndConnectReportTheConnectingElements) {
  TempDir dir;
  CopyExample("lshape", dir);
  const std::string pro = (dir / "lshape.PRO").string();
  ASSERT_EQ(Cli(dir, "save " + pro).exitCode, 0);
  const CliRun run = Cli(dir, "connect " + pro);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "Segments are connected!\n1 connecting Jx element(s), 0 connecting Jy element(s)\n");
  EXPECT_FALSE(ReadBytes(dir / "lshape.JXC").empty());
}

TEST(Cli, InfoShowsTheDetailsThenTheNote) {
  TempDir dir;
  CopyExample("lshape", dir);
  WriteBytes(dir / "lshape.TXT", "Clock trace\r\nrev B\r\n");
  const CliRun run = Cli(dir, "info " + (dir / "lshape.PRO").string());
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.substr(0, run.output.find('\n')), "Details for lshape.PRO");
  EXPECT_NE(run.output.find("\nGround plane height: 1.6 mm\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\nAir between layout and ground plane\nNotes:\nClock trace\nrev B\n"),
            std::string::npos) << run.output;
}

TEST(Cli, DamagedProjectsAreReportedWithFileAndLine) {
  TempDir dir;
  CopyExample("lshape", dir);
  WriteBytes(dir / "lshape.GPC", "1 9 0.3\r\n1 1\r\n");
  const CliRun run = Cli(dir, "save " + (dir / "lshape.PRO").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("lshape.GPC\", line 1: edge"), std::string::npos) << run.output;
  EXPECT_EQ(ReadBytes(dir / "lshape.GPC"), "1 9 0.3\r\n1 1\r\n");
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(CliCompute, JsonReportsThePortOfEachPoint) {
  TempDir dir;
  CopyExample("dipole", dir);
  const std::string pro = (dir / "dipole.PRO").string();
  const CliRun run = Cli(dir, "compute " + pro + " --sweep 1400 1420 20 --json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("\"unknowns\": 49"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("{\"frequency_mhz\": 1400, \"fill_s\": "), std::string::npos);
  EXPECT_NE(run.output.find("{\"frequency_mhz\": 1420, "), std::string::npos);
  EXPECT_NE(run.output.find("\"sources\": [{\"number\": 1, \"voltage\": [1, 0], \"current\": ["),
            std::string::npos);
  EXPECT_NE(run.output.find("\"impedance\": [7"), std::string::npos) << run.output;  // ~72 ohm
  EXPECT_FALSE(ReadBytes(dir / "dipole.XXX").empty());
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().stem(), "TempFile");
}

TEST(CliCompute, BadOptionsAndFilesAreReportedNotCrashed) {
  TempDir dir;
  CopyExample("dipole", dir);
  const std::string pro = (dir / "dipole.PRO").string();
  CliRun run = Cli(dir, "compute " + pro + " --freq 0");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: Out of range! Frequency must be greater than 0\n");

  WriteBytes(dir / "list.txt", "100\r\n1e3x\r\n");
  run = Cli(dir, "compute " + pro + " --freq-list " + (dir / "list.txt").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: Invalid frequency in frequency list\n");

  run = Cli(dir, "compute " + pro + " --freq-list " + (dir / "missing.txt").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("missing.txt"), std::string::npos);

  WriteBytes(dir / "empty.txt", "");
  run = Cli(dir, "compute " + pro + " --freq-list " + (dir / "empty.txt").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("frequency list is empty"), std::string::npos) << run.output;

  EXPECT_EQ(Cli(dir, "compute " + pro + " --far-field --theta 0:90").exitCode, 2);
  EXPECT_EQ(Cli(dir, "compute " + pro + " --sweep 1 2").exitCode, 2);
  run = Cli(dir, "compute " + pro + " --loads");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: You have not defined any impedances!\n");

  // The limit of unknowns: a whole number from the default up, on every command
  // that computes.
  for (const char* limit : {"1999", "3e3", "", "1000001", "-2500"}) {
    run = Cli(dir, "compute " + pro + " --max-unknowns " + limit);
    EXPECT_EQ(run.exitCode, 2) << limit;
  }
  EXPECT_NE(run.output.find("--max-unknowns needs a whole number from 2000 to 1000000, got "
                            "\"-2500\""),
            std::string::npos) << run.output;
  EXPECT_EQ(Cli(dir, "network " + pro + " --touchstone x.s1p --max-unknowns many").exitCode, 2);
  EXPECT_EQ(Cli(dir, "compute " + pro + " --max-unknowns 3000").exitCode, 0);
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

TEST(CliCompute, SubstrateOptionsAreCheckedAndComputeOverASlab) {
  TempDir dir;
  CopyExample("dipole", dir);
  const std::string pro = (dir / "dipole.PRO").string();
  CliRun run = Cli(dir, "compute " + pro + " --ground-plane 1.6 --diel 4.4 --points 10");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: Out of range! Number of integration points must be greater than 10\n");
  run = Cli(dir, "compute " + pro + " --ground-plane 1.6 --diel 4.4 --rel-error 0.01");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: Out of range! Relative error must be greater than 0.01\n");
  EXPECT_EQ(Cli(dir, "compute " + pro + " --eps-approx 2").exitCode, 2);

  // The effective permittivity of a strip on FR4 lowers its resonance well below
  // the free-space 1420 MHz.
  run = Cli(dir, "compute " + pro + " --ground-plane 1.6 --diel 4.4 --effective-eps --freq 1000 --json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("\"frequency_mhz\": 1000"), std::string::npos);
  // The rigorous solution runs with the spectral warnings printed before the table.
  run = Cli(dir, "compute " + pro + " --ground-plane 1.6 --diel 4.4 --freq 1000 --points 11");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Warning: Not sufficient number of points for spectral domain integration"),
            std::string::npos) << run.output;
}

}  // namespace
}  // namespace lumetra
