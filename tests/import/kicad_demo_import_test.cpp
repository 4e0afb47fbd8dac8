// Nets of the demo boards KiCad ships (package kicad-demos), each one piece of copper
// in KiCad, imported and computed: each is one connected layout, keeps its
// length to within 2 %, passes the connection step, and a computation at one
// frequency runs on it with a driver at one of its pads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "import/kicad_import.h"
#include "import/kicad_net_list.h"
#include "model/connections.h"
#include "model/project_files.h"
#include "solver/complex_storage.h"
#include "solver/computation_control.h"
#include "studies/computation_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

const std::filesystem::path Demos = "/usr/share/kicad/demos";

struct DemoNet {
  const char* board;
  const char* net;
  const char* layer;
};

class DemoImport : public ::testing::TestWithParam<DemoNet> {};

TEST_P(DemoImport, ConnectedSameLengthConnectsAndComputes) {
  const DemoNet& demo = GetParam();
  const std::filesystem::path file = Demos / demo.board;
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "kicad-demos not installed";
  const KicadBoard board = ReadKicadBoard(file);

  KicadImportOptions options;
  options.nets = {demo.net};
  options.layer = demo.layer;
  // The driver at the net's first pad on the layer.
  for (const KicadFootprint& f : board.footprints)
    for (const KicadPad& p : f.pads)
      if (!options.driver && p.netName == demo.net && KicadPadOnLayer(p, demo.layer))
        options.driver = ParseDriver(f.reference + "." + p.number);
  ASSERT_TRUE(options.driver);
  // Ground points and a dielectric do not go together in the computation: air.
  options.dielectric = 1.0;
  KicadImport imported = ImportKicadNets(board, options, file.string());
  const NetImport& net = imported.report.nets.at(0);
  EXPECT_EQ(net.pieces, 1);
  EXPECT_NEAR(net.layoutLengthMm, net.kicadLengthMm, 0.02 * net.kicadLengthMm);
  EXPECT_TRUE(imported.report.warnings.empty())
      << imported.report.warnings.front();
  EXPECT_LE(std::max(imported.report.jx, imported.report.jy) + imported.report.groundPoints,
            DefaultMaxUnknowns);

  testing::TempDir dir;
  Project& project = imported.project;
  project.ProjectFile = (dir / "net.PRO").string();
  SaveProjectFiles(project, project.ProjectFile);
  // As the program opens it: from the files.
  Project opened = LoadProject(project.ProjectFile);
  testing::RecordingUi ui;
  ASSERT_TRUE(RunConnectionStep(opened, ui));
  ComputationSettings settings;
  settings.Frequency = "100";
  settings.RigSol = settings.ShowCompTime = settings.CompSound = false;
  settings.ImpFile = !opened.Impedances.empty();
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = dir.path();
  environment.StartupDirectory = dir.path();
  const ComputationReport report = RunComputation(opened, settings, environment, control);
  ASSERT_TRUE(report.Started) << (ui.messages.empty() ? "" : ui.messages.back());
  EXPECT_FALSE(report.Aborted) << (ui.messages.empty() ? "" : ui.messages.back());
  ASSERT_EQ(report.Points.size(), 1u);
  ASSERT_EQ(report.Points[0].Sources.size(), 1u);
  ASSERT_TRUE(report.Points[0].Sources[0].Current);
  const Complex current = *report.Points[0].Sources[0].Current;
  EXPECT_TRUE(std::isfinite(current.Re) && std::isfinite(current.Im));
  EXPECT_GT(std::hypot(current.Re, current.Im), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    KicadDemos, DemoImport,
    ::testing::Values(DemoNet{"video/video.kicad_pcb", "/BPCLK", "F.Cu"},
                      DemoNet{"video/video.kicad_pcb", "/IRQ-", "F.Cu"},
                      // The oldest format among the demos with nets (20210722).
                      DemoNet{"interf_u/interf_u.kicad_pcb", "/DONE", "B.Cu"},
                      DemoNet{"complex_hierarchy/complex_hierarchy.kicad_pcb", "Net-(C10-Pad1)", "B.Cu"},
                      DemoNet{"sonde xilinx/sonde xilinx.kicad_pcb", "/TCK-CCLK", "B.Cu"},
                      // Tracks with arcs.
                      DemoNet{"stickhub/StickHub.kicad_pcb", "/U1D+", "B.Cu"},
                      DemoNet{"kit-dev-coldfire-xilinx_5213/kit-dev-coldfire-xilinx_5213.kicad_pcb",
                              "/inout_user/CTS1", "F.Cu"},
                      DemoNet{"pic_programmer/pic_programmer.kicad_pcb", "Net-(R15-Pad1)", "B.Cu"}));

}  // namespace
}  // namespace lumetra
