// lumetra-cli emission as a build pipeline sees it: the exit code gates on the
// limit, --json is one document, and bad input is refused before anything is
// computed or written.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::CliRun;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string ClockTrace(const TempDir& dir) {
  std::filesystem::copy(std::filesystem::path(LUMETRA_EXAMPLES) / "clock-trace", dir.path(),
                        std::filesystem::copy_options::recursive);
  return "'" + (dir / "clock-trace.PRO").string() + "'";
}

TEST(EmissionCli, ExitCodeGatesOnTheLimitAndJsonIsOneDocument) {
  TempDir dir;
  const std::string project = ClockTrace(dir);
  const std::string common = " --distance 10 --site free --limit cispr32-b --stop 130";
  // A 3.3 kV clock fails everywhere the limit applies.
  CliRun run = Cli(dir, "emission " + project + " --clock 1:25:3300:1" + common + " --json --csv '" +
                            (dir / "lines.csv").string() + "'");
  ASSERT_EQ(run.exitCode, 3) << run.output;
  const nlohmann::json doc = nlohmann::json::parse(run.output.substr(run.output.find('{')));
  EXPECT_EQ(doc["site"], "free");
  EXPECT_EQ(doc["distance_m"], 10.0);
  EXPECT_EQ(doc["limit"], "cispr32-b");
  // 25 MHz, 50 % duty: the odd harmonics 25, 75 and 125 MHz.
  ASSERT_EQ(doc["lines"].size(), 3u);
  EXPECT_EQ(doc["lines"][0]["frequency_mhz"], 25.0);
  EXPECT_TRUE(doc["lines"][0]["limit_dbuv_m"].is_null());  // below 30 MHz
  EXPECT_EQ(doc["lines"][1]["limit_dbuv_m"], 30.0);
  EXPECT_LT(doc["worst_margin_db"].get<double>(), 0.0);
  EXPECT_EQ(doc["lines"][1]["polarisation"], "total");
  // The drive of the first harmonic: 2 c_1 of a 3300 V square-ish wave, about 2A/pi.
  const auto drive = doc["lines"][0]["sources"][0]["amplitude_v"];
  EXPECT_NEAR(std::hypot(drive[0].get<double>(), drive[1].get<double>()) / (2 * 3300 / M_PI), 1.0,
              0.01);
  const std::string csv = ReadBytes(dir / "lines.csv");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);

  // A millivolt clock passes: exit 0, and the same lines 20 log10(3.3e6) lower.
  run = Cli(dir, "emission " + project + " --clock 1:25:0.001:1" + common + " --json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const nlohmann::json quiet = nlohmann::json::parse(run.output.substr(run.output.find('{')));
  EXPECT_NEAR(doc["lines"][1]["e_dbuv_m"].get<double>() - quiet["lines"][1]["e_dbuv_m"].get<double>(),
              20 * std::log10(3.3e6), 1e-6);
  EXPECT_EQ(quiet["passed"], true);
}

TEST(EmissionCli, LinesAtOnceWriteWhatOneAtATimeWrites) {
  TempDir dir;
  const std::string project = ClockTrace(dir);
  std::string printed[2], files[2];
  for (const int jobs : {1, 3}) {
    const auto csv = dir / ("jobs" + std::to_string(jobs) + ".csv");
    const CliRun run = Cli(dir, "emission " + project + " --clock 1:25:3.3:1 --stop 400 --jobs " +
                                    std::to_string(jobs) + " --csv '" + csv.string() + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    printed[jobs / 3] = run.output;
    files[jobs / 3] = ReadBytes(csv);
  }
  EXPECT_EQ(printed[0], printed[1]);
  EXPECT_EQ(files[0], files[1]);
  EXPECT_EQ(std::count(files[0].begin(), files[0].end(), '\n'), 9);  // 8 odd harmonics
}

TEST(EmissionCli, BadInputIsRefusedWithExitTwoAndNothingWritten) {
  TempDir dir;
  const std::string project = ClockTrace(dir);
  WriteBytes(dir / "bad-spectrum.csv", "frequency_MHz, amplitude_V\r\n100, 1\r\n200, one\r\n");
  const std::string csv = " --csv '" + (dir / "never.csv").string() + "'";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--clock 2:25:3.3:1", "no voltage source \"2\""},
      {"--clock 1:25:3.3:30", "Error"},          // rise longer than the pulse
      {"--clock 1:25:3.3", "SOURCE:FREQ_MHZ"},   // too few fields
      {"--clock 1:25:3.3:1 --limit cispr99", "Unknown limit \"cispr99\""},
      {"--spectrum 1:'" + (dir / "bad-spectrum.csv").string() + "'", "line 3"},
      {"--clock 1:25:3.3:1 --limit cispr32-b --stop 7000", "6000"},
      {"--clock 1:25:3.3:1 --site moon", "--site \"moon\""},
      {"", "No source has a line"},
      {"--clock 1:25:3.3:1 --jobs 0", "--jobs takes a whole number"},
  };
  for (const auto& [options, words] : cases) {
    const CliRun run = Cli(dir, "emission " + project + " " + options + csv);
    EXPECT_EQ(run.exitCode, 2) << options << "\n" << run.output;
    EXPECT_NE(run.output.find(words), std::string::npos) << options << "\n" << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir / "never.csv")) << options;
  }
  // Nothing of the project's was computed either.
  EXPECT_FALSE(std::filesystem::exists(dir / "clock-trace.XXX"));
}

}  // namespace
}  // namespace lumetra
