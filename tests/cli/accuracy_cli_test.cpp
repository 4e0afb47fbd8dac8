// The accuracy setting on the command line: Standard keeps every result file of
// the examples byte for byte as the stored list of their hashes has them,
// a word other than standard or high is a usage error, and High reports the
// number of spectral points it chose.
#include <gtest/gtest.h>

#include <string>

#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::ReadBytes;
using testing::TempDir;

std::string ExampleHashes(const TempDir& dir, const std::string& extra) {
  const auto list = dir / "hashes.txt";
  const std::string command = std::string("sh '") + LUMETRA_SOURCE +
                              "/tools/accuracy/example_result_hashes.sh' '" + LUMETRA_CLI + "' '" +
                              LUMETRA_EXAMPLES + "' '" + extra + "' > '" + list.string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  return ReadBytes(list);
}

TEST(AccuracyCli, StandardKeepsTheExamplesResultFilesByteForByte) {
  TempDir dir;
  const std::string stored =
      ReadBytes(std::string(LUMETRA_SOURCE) + "/tests/cli/data/standard_example_hashes.txt");
  ASSERT_GT(stored.size(), 1000u);
  EXPECT_EQ(ExampleHashes(dir, ""), stored);
  EXPECT_EQ(ExampleHashes(dir, "--accuracy standard"), stored);
}

TEST(AccuracyCli, AWordOtherThanStandardOrHighIsAUsageError) {
  TempDir dir;
  const std::string project = std::string(LUMETRA_EXAMPLES) + "/dipole/dipole.PRO";
  for (const char* word : {"best", "", "1"}) {
    const auto run = Cli(dir, "compute '" + project + "' --freq 1400 --accuracy '" + word + "'");
    EXPECT_EQ(run.exitCode, 2) << word;
    EXPECT_NE(run.output.find("--accuracy needs standard or high, got \"" + std::string(word) + "\""),
              std::string::npos)
        << run.output;
  }
  EXPECT_EQ(Cli(dir, "compute '" + project + "' --accuracy").exitCode, 2);
}

TEST(AccuracyCli, HighReportsTheSpectralPointsItChose) {
  TempDir dir;
  std::filesystem::copy(std::string(LUMETRA_EXAMPLES) + "/dipole", dir / "dipole");
  const std::string project = "'" + (dir / "dipole" / "dipole.PRO").string() + "'";
  const std::string slab = " --freq 1400 --ground-plane 1.6 --diel 4.4 --json";
  const auto standard = Cli(dir, "compute " + project + slab + " --accuracy standard");
  EXPECT_NE(standard.output.find("\"spectral_points\": 100,"), std::string::npos) << standard.output;
  EXPECT_NE(standard.output.find("points would suffice"), std::string::npos) << standard.output;
  const auto high = Cli(dir, "compute " + project + slab + " --accuracy HIGH");
  EXPECT_EQ(high.exitCode, 0) << high.output;
  const auto at = high.output.find("\"spectral_points\": ");
  ASSERT_NE(at, std::string::npos) << high.output;
  EXPECT_GT(std::stoi(high.output.substr(at + 19)), 100);
  EXPECT_EQ(high.output.find("points would suffice"), std::string::npos) << high.output;
}

}  // namespace
}  // namespace lumetra
