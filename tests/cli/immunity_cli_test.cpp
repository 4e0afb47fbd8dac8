// lumetra-cli immunity: the table, CSV and JSON it gives, the threshold's exit
// code, and refused input that leaves nothing behind.
#include <gtest/gtest.h>

#include <cmath>

#include <nlohmann/json.hpp>

#include "model/project_files.h"
#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::TempDir;

// A 40 mm strip with a 1 V driver at its left end and a 1 kohm receiver at its right.
std::string Receiver(const TempDir& dir, bool withLoad = true) {
  Project p;
  p.ProjectFile = (dir / "rx.PRO").string();
  p.PcbLx = 100;
  p.PcbLy = 50;
  p.Segments = {{50, 20, 40, 2, 20, 1}};
  p.VoltageSources = {{32, 20, 2, 2, 1, 0, true, 1}};
  if (withLoad) p.Impedances = {{68, 20, 2, 2, 1000, 0, true, 19}};
  SaveProjectFiles(p, p.ProjectFile);
  return p.ProjectFile;
}

TEST(ImmunityCli, JsonCsvAndThresholdExit) {
  TempDir dir;
  const std::string project = Receiver(dir);
  const auto csv = dir / "rx.csv";
  const auto run = Cli(dir, "immunity '" + project + "' --field 3 --sweep 100 300 100 --json --csv '" +
                                csv.string() + "'");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto json = nlohmann::json::parse(run.output.substr(run.output.find('{')));
  EXPECT_EQ(json["field_v_m"], 3.0);
  ASSERT_EQ(json["points"].size(), 3u);
  const auto& load = json["points"][1]["loads"][0];
  EXPECT_EQ(json["points"][1]["frequency_mhz"], 200.0);
  EXPECT_EQ(load["number"], 1);
  const double v = load["voltage_v"].get<double>();
  EXPECT_GT(v, 0.0);
  EXPECT_NEAR(load["dbuv"].get<double>(), 20 * std::log10(v / 1e-6), 1e-9);
  EXPECT_TRUE(load["polarisation"] == "theta" || load["polarisation"] == "phi");
  EXPECT_GE(load["theta_deg"].get<double>(), 0.0);
  EXPECT_LE(load["theta_deg"].get<double>(), 180.0);
  // The source is a shorted port of its own.
  EXPECT_EQ(json["points"][1]["sources"][0]["number"], 1);
  const std::string text = testing::ReadBytes(csv);
  EXPECT_EQ(text.rfind("frequency_mhz,port,number,voltage_v,dbuv,", 0), 0u);
  EXPECT_NE(text.find("\r\n200,load,1,"), std::string::npos);
  // The voltage grows with the field: at 30 V/m ten times the 3 V/m one.
  const auto strong = Cli(dir, "immunity '" + project + "' --field 30 --freq 200 --load 1 --json");
  ASSERT_EQ(strong.exitCode, 0) << strong.output;
  const auto strongJson = nlohmann::json::parse(strong.output.substr(strong.output.find('{')));
  EXPECT_NEAR(strongJson["points"][0]["loads"][0]["voltage_v"].get<double>(), 10 * v, 1e-9 * v);
  EXPECT_FALSE(strongJson["points"][0].contains("sources"));
  // A threshold below the worst voltage: exit 3 and the margin printed negative.
  const auto over = Cli(dir, "immunity '" + project + "' --field 3 --freq 200 --load 1 --threshold " +
                                 std::to_string(v / 2));
  EXPECT_EQ(over.exitCode, 3) << over.output;
  EXPECT_NE(over.output.find("EXCEEDED"), std::string::npos);
  EXPECT_NE(over.output.find("-6.0"), std::string::npos);
  const auto svg = dir / "rx.svg";
  const auto png = dir / "rx.png";
  const auto under = Cli(dir, "immunity '" + project + "' --field 3 --freq 200 --load 1 --threshold " +
                                  std::to_string(v * 2) + " --svg '" + svg.string() + "' --png '" +
                                  png.string() + "'");
  const std::string picture = testing::ReadBytes(svg);
  EXPECT_NE(picture.find("<svg"), std::string::npos);
  EXPECT_NE(picture.find("threshold"), std::string::npos);
  EXPECT_EQ(testing::ReadBytes(png).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(under.exitCode, 0) << under.output;
  EXPECT_EQ(under.output.find("EXCEEDED"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "rx.XXX"));
}

TEST(ImmunityCli, RefusedInputExitsTwoAndWritesNothing) {
  TempDir dir;
  const std::string project = Receiver(dir);
  const std::string csv = (dir / "out.csv").string();
  for (const std::string& options :
       {std::string("--freq 100 --field 0"), std::string("--freq 100 --field -10"),
        std::string("--freq 100 --load 2"), std::string("--freq 100 --load 0"),
        std::string("--freq 100 --field abc"), std::string("--freq 100 --threshold 0"),
        std::string("--freq 100 --load 2 --svg '" + (dir / "out.svg").string() + "'"),
        std::string("--freq 100 --field 0 --png '" + (dir / "out.png").string() + "'")}) {
    SCOPED_TRACE(options);
    const auto run = Cli(dir, "immunity '" + project + "' " + options + " --csv '" + csv + "'");
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_FALSE(std::filesystem::exists(csv));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.svg"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.png"));
  }
  TempDir bare;
  const std::string noLoad = Receiver(bare, false);
  const auto run = Cli(bare, "immunity '" + noLoad + "' --freq 100 --csv '" + csv + "'");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.output.find("Error: The layout has no load element, so there is no receiver to assess"),
            std::string::npos)
      << run.output;
  EXPECT_FALSE(std::filesystem::exists(csv));
}

}  // namespace
}  // namespace lumetra
