// lumetra-cli kicad-nets and import-kicad as a script sees them: bad input exits 2
// and writes no project; a good import writes one that connects, and --json holds
// the numbers.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::CliRun;
using testing::TempDir;
using testing::WriteBytes;

const char* const GoodBoard =
    "(kicad_pcb (version 20171130) (host pcbnew 5.1.9)\n"
    "  (layers (0 F.Cu signal) (31 B.Cu signal) (44 Edge.Cuts user))\n"
    "  (net 0 \"\") (net 1 CLK) (net 2 DATA)\n"
    "  (gr_line (start 0 0) (end 20 0) (layer Edge.Cuts) (width 0.05))\n"
    "  (gr_line (start 20 0) (end 20 10) (layer Edge.Cuts) (width 0.05))\n"
    "  (gr_line (start 20 10) (end 0 10) (layer Edge.Cuts) (width 0.05))\n"
    "  (gr_line (start 0 10) (end 0 0) (layer Edge.Cuts) (width 0.05))\n"
    "  (module R (layer F.Cu) (at 3 5)\n"
    "    (fp_text reference U1 (at 0 0) (layer F.SilkS))\n"
    "    (pad 1 smd rect (at 0 0) (size 1 1) (layers F.Cu) (net 1 CLK)))\n"
    "  (segment (start 3 5) (end 15 5) (width 0.25) (layer F.Cu) (net 1))\n"
    "  (segment (start 15 5) (end 17 7) (width 0.25) (layer F.Cu) (net 1))\n"
    "  (segment (start 3 8) (end 15 8) (width 0.25) (layer B.Cu) (net 2)))\n";

TEST(CliKicad, ImportWritesAProjectThatConnectsAndComputes) {
  TempDir dir;
  WriteBytes(dir / "b.kicad_pcb", GoodBoard);
  const std::string pro = (dir / "clk.PRO").string();
  CliRun run = Cli(dir, "import-kicad " + (dir / "b.kicad_pcb").string() +
                            " --net CLK --driver U1.1:1 --diel 1 --max-freq 500 --out " + pro);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("impedance work wants 3"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Segments are connected!"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "clk.JXC"));
  run = Cli(dir, "compute " + pro + " --freq 100");
  EXPECT_EQ(run.exitCode, 0) << run.output;

  // Again with --json: one document on stdout (the report goes to stderr).
  const std::string json = (dir / "out.json").string();
  const int status = std::system((std::string(LUMETRA_CLI) + " import-kicad " +
                                  (dir / "b.kicad_pcb").string() + " --net CLK --force --json --out " +
                                  pro + " > " + json + " 2>/dev/null").c_str());
  ASSERT_EQ(status, 0);
  const nlohmann::json report = nlohmann::json::parse(testing::ReadBytes(json));
  EXPECT_GT(report["segments"].get<int>(), 2);
  EXPECT_GT(report["unknowns"].get<int>(), 0);
  ASSERT_EQ(report["nets"].size(), 1u);
  const auto& net = report["nets"][0];
  EXPECT_EQ(net["name"], "CLK");
  EXPECT_EQ(net["tracks"], 2);
  EXPECT_NEAR(net["kicad_length_mm"].get<double>(), 12 + 2 * std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(net["layout_length_mm"].get<double>(), 12 + 2 * std::sqrt(2.0), 0.02 * 14.83);
}

TEST(CliKicad, NetsAreListedWithTheirTracksPerLayer) {
  TempDir dir;
  WriteBytes(dir / "b.kicad_pcb", GoodBoard);
  CliRun run = Cli(dir, "kicad-nets " + (dir / "b.kicad_pcb").string());
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("CLK"), std::string::npos);
  EXPECT_NE(run.output.find("14.83"), std::string::npos) << run.output;
  run = Cli(dir, "kicad-nets " + (dir / "b.kicad_pcb").string() + " --layer B.Cu --json");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const nlohmann::json list = nlohmann::json::parse(run.output);
  ASSERT_EQ(list["nets"].size(), 1u);
  EXPECT_EQ(list["nets"][0]["name"], "DATA");
  EXPECT_DOUBLE_EQ(list["nets"][0]["layers"][0]["length_mm"].get<double>(), 12.0);
  EXPECT_EQ(Cli(dir, "kicad-nets " + (dir / "b.kicad_pcb").string() + " --layer In7.Cu").exitCode, 2);
}

TEST(CliKicad, BadInputExitsTwoAndWritesNoProject) {
  TempDir dir;
  const std::string good = GoodBoard;
  WriteBytes(dir / "good.kicad_pcb", good);
  WriteBytes(dir / "truncated.kicad_pcb", good.substr(0, good.size() / 2));
  const std::string pro = (dir / "x.PRO").string();
  struct Case {
    std::string arguments, message;
  };
  const Case cases[] = {
      {"truncated.kicad_pcb --net CLK", "truncated.kicad_pcb\", line"},
      {"missing.kicad_pcb --net CLK", "missing.kicad_pcb"},
      {"good.kicad_pcb --net NOPE", "the board has no net \"NOPE\""},
      {"good.kicad_pcb --net CLK --driver U1", "is not of the form REF.PAD[:VOLTS]"},
      {"good.kicad_pcb --net CLK --driver U7.1", "no footprint \"U7\""},
      {"good.kicad_pcb --net CLK --grid abc", "--grid needs a number"},
      {"good.kicad_pcb --net CLK --cells-across 0", "cells across must lie between 1 and 50"},
  };
  for (const Case& c : cases) {
    const CliRun run = Cli(dir, "import-kicad " + (dir / "").string() + c.arguments + " --out " + pro);
    EXPECT_EQ(run.exitCode, 2) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
    EXPECT_FALSE(std::filesystem::exists(pro)) << c.arguments;
    EXPECT_FALSE(std::filesystem::exists(dir / "x.SEG")) << c.arguments;
  }
  // Missing --net or --out, or a project that is not a .PRO.
  EXPECT_EQ(Cli(dir, "import-kicad " + (dir / "good.kicad_pcb").string() + " --out " + pro).exitCode, 2);
  EXPECT_EQ(Cli(dir, "import-kicad " + (dir / "good.kicad_pcb").string() + " --net CLK").exitCode, 2);
  EXPECT_EQ(Cli(dir, "import-kicad " + (dir / "good.kicad_pcb").string() + " --net CLK --out " +
                         (dir / "x.txt").string()).exitCode, 2);
  // An existing project is kept unless --force.
  WriteBytes(pro, "mine");
  EXPECT_EQ(Cli(dir, "import-kicad " + (dir / "good.kicad_pcb").string() + " --net CLK --out " + pro).exitCode, 2);
  EXPECT_EQ(testing::ReadBytes(pro), "mine");
}

}  // namespace
}  // namespace lumetra
