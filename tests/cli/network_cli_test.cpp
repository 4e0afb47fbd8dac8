// lumetra-cli network: the file it writes, what it prints, and refused input that
// leaves nothing behind.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "model/project_files.h"
#include "studies/network/touchstone.h"
#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::TempDir;

// Two strips side by side, a 1 V source on each: a two-port.
std::string TwoStrips(const TempDir& dir) {
  Project p;
  p.ProjectFile = (dir / "two.PRO").string();
  p.PcbLx = 100;
  p.PcbLy = 50;
  p.Segments = {{50, 20, 40, 2, 20, 1}, {50, 28, 40, 2, 20, 1}};
  p.VoltageSources = {{32, 20, 2, 2, 1, 0, true, 1}, {32, 28, 2, 2, 1, 0, true, 20}};
  SaveProjectFiles(p, p.ProjectFile);
  return p.ProjectFile;
}

TEST(NetworkCli, WritesTheTouchstoneFileAndReportsTheMatrices) {
  TempDir dir;
  const std::string project = TwoStrips(dir);
  const auto out = dir / "two.s2p";
  const auto run = Cli(dir, "network '" + project + "' --sweep 100 300 100 --ground-plane 1.5 --json --format db --touchstone '" + out.string() + "'");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const network::TouchstoneData data = network::ReadTouchstone(out);
  EXPECT_EQ(data.Format, network::PairFormat::DB);
  ASSERT_EQ(data.FrequenciesMHz, (std::vector<double>{100, 200, 300}));
  const std::string text = testing::ReadBytes(out);
  EXPECT_NE(text.find("\r\n# MHZ S DB R 50\r\n"), std::string::npos);
  const auto json = nlohmann::json::parse(run.output.substr(run.output.find('{')));
  ASSERT_EQ(json["points"].size(), 3u);
  EXPECT_EQ(json["ports"][1]["element_no"], 20);
  // The file holds S to its printed precision; the JSON holds the same S.
  const auto& s21 = json["points"][0]["s"][1][0];
  const std::complex<double> fromJson(s21[0].get<double>(), s21[1].get<double>());
  EXPECT_NEAR(std::abs(fromJson - data.Matrices[0](1, 0)), 0.0, 1e-9);
  // Reciprocal: S12 = S21.
  EXPECT_NEAR(std::abs(data.Matrices[0](0, 1) - data.Matrices[0](1, 0)), 0.0, 1e-9);
  // The project's own files and results are not touched.
  EXPECT_FALSE(std::filesystem::exists(dir / "two.XXX"));
}

TEST(NetworkCli, PointsInFlightWriteTheFileOfOneAtATime) {
  TempDir dir;
  const std::string project = TwoStrips(dir);
  std::string files[2];
  for (const int jobs : {1, 2}) {
    const auto out = dir / ("jobs" + std::to_string(jobs) + ".s2p");
    const auto run = Cli(dir, "network '" + project + "' --sweep 100 900 100 --jobs " +
                                  std::to_string(jobs) + " --touchstone '" + out.string() + "'");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    files[jobs - 1] = testing::ReadBytes(out);
  }
  EXPECT_EQ(network::ReadTouchstone(dir / "jobs2.s2p").FrequenciesMHz.size(), 9u);
  EXPECT_TRUE(files[0] == files[1]);
  for (const char* jobs : {"0", "two", "-1"})
    EXPECT_EQ(Cli(dir, "network '" + project + "' --sweep 100 900 100 --jobs " + jobs +
                           " --touchstone x.s2p").exitCode,
              2)
        << jobs;
}

TEST(NetworkCli, RefusedInputExitsTwoAndWritesNothing) {
  TempDir dir;
  const std::string project = TwoStrips(dir);
  const auto out = (dir / "two.s2p").string();
  for (const std::string& options :
       {"--freq 100 --format xy --touchstone " + out, "--freq 100 --param h --touchstone " + out,
        "--freq 100 --z0 -50 --touchstone " + out, "--freq 100 --z0 50,50,50 --touchstone " + out,
        std::string("--freq 100"), "--freq 100 --touchstone " + (dir / "two.s3p").string(),
        "--freq 100 --touchstone " + (dir / "two.txt").string(),
        "--freq 0 --touchstone " + out, "--freq 100 --bogus --touchstone " + out}) {
    SCOPED_TRACE(options);
    const auto run = Cli(dir, "network '" + project + "' " + options);
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(dir / "two.s3p"));
  }
  // No source at all: no port.
  Project empty;
  empty.ProjectFile = (dir / "none.PRO").string();
  empty.PcbLx = 100;
  empty.PcbLy = 50;
  empty.Segments = {{50, 20, 40, 2, 20, 1}};
  SaveProjectFiles(empty, empty.ProjectFile);
  const auto run = Cli(dir, "network '" + empty.ProjectFile + "' --freq 100 --touchstone " + out);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.output.find("Error: The layout has no voltage source, so the network has no port"),
            std::string::npos) << run.output;
}

}  // namespace
}  // namespace lumetra
