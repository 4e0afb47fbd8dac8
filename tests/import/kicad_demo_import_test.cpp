// Nets of the demo boards KiCad ships (package kicad-demos), imported and computed:
// each is one connected layout as it is one piece of copper in KiCad, keeps its
// length to within 2 %, passes the connection step, and a computation at one
// frequency runs on it with a driver at one of its pads.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <numeric>

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

// KiCad's own idea of one piece of copper: tracks meet at their ends or end on
// another track, and a track ends on a pad (taken as its bounding circle).
int KicadPieces(const KicadBoard& board, const std::string& netName, const std::string& layer) {
  int net = -1;
  for (const auto& [number, name] : board.nets)
    if (name == netName) net = number;
  struct Disc {
    KicadPoint a, b;  // a segment (a == b for a pad or a via)
    double reach;     // half its width, or the pad's inner half size
  };
  std::vector<Disc> items;
  for (const KicadTrack& t : board.tracks)
    if (t.net == net && t.layer == layer) {
      if (!t.isArc) {
        items.push_back({t.start, t.end, t.widthMm / 2});
        continue;
      }
      const std::vector<KicadPoint> chords = ArcChords(t.start, t.mid, t.end, 0.001);
      for (std::size_t k = 1; k < chords.size(); ++k)
        items.push_back({chords[k - 1], chords[k], t.widthMm / 2});
    }
  for (const KicadFootprint& f : board.footprints)
    for (const KicadPad& p : f.pads)
      if (p.net == net && KicadPadOnLayer(p, layer)) {
        const KicadPadOnBoard shape = PadShapeInBoard(f, p);
        items.push_back({shape.centre, shape.centre, std::max(shape.widthMm, shape.heightMm) / 2});
      }
  auto distance = [](KicadPoint p, const Disc& d) {
    const double dx = d.b.x - d.a.x, dy = d.b.y - d.a.y, l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((p.x - d.a.x) * dx + (p.y - d.a.y) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - d.a.x - t * dx, p.y - d.a.y - t * dy);
  };
  std::vector<std::size_t> parent(items.size());
  std::iota(parent.begin(), parent.end(), 0);
  auto root = [&](std::size_t k) {
    while (parent[k] != k) k = parent[k] = parent[parent[k]];
    return k;
  };
  for (std::size_t i = 0; i < items.size(); ++i)
    for (std::size_t j = 0; j < items.size(); ++j) {
      if (i == j) continue;
      // An end of item i inside item j.
      if (distance(items[i].a, items[j]) <= items[j].reach + 1e-6 ||
          distance(items[i].b, items[j]) <= items[j].reach + 1e-6)
        parent[root(i)] = root(j);
    }
  int pieces = 0;
  for (std::size_t k = 0; k < items.size(); ++k) pieces += root(k) == k;
  return pieces;
}

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
  ASSERT_EQ(KicadPieces(board, demo.net, demo.layer), 1);

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
  const auto begin = std::chrono::steady_clock::now();
  KicadImport imported = ImportKicadNets(board, options, file.string());
  const double importSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const NetImport& net = imported.report.nets.at(0);
  EXPECT_EQ(net.pieces, 1);
  EXPECT_NEAR(net.layoutLengthMm, net.kicadLengthMm, 0.02 * net.kicadLengthMm);
  EXPECT_TRUE(imported.report.warnings.empty())
      << imported.report.warnings.front();
  EXPECT_LE(imported.report.jx + imported.report.groundPoints, DefaultMaxUnknowns);
  EXPECT_LE(imported.report.jy + imported.report.groundPoints, DefaultMaxUnknowns);

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
  settings.RigSol = false;
  settings.ImpFile = !opened.Impedances.empty();
  settings.ShowCompTime = false;
  settings.CompSound = false;
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = dir.path();
  environment.StartupDirectory = dir.path();
  const auto computeBegin = std::chrono::steady_clock::now();
  const ComputationReport report = RunComputation(opened, settings, environment, control);
  const double computeSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - computeBegin).count();
  ASSERT_TRUE(report.Started) << (ui.messages.empty() ? "" : ui.messages.back());
  EXPECT_FALSE(report.Aborted) << (ui.messages.empty() ? "" : ui.messages.back());
  ASSERT_EQ(report.Points.size(), 1u);
  ASSERT_EQ(report.Points[0].Sources.size(), 1u);
  ASSERT_TRUE(report.Points[0].Sources[0].Current);
  const Complex current = *report.Points[0].Sources[0].Current;
  EXPECT_TRUE(std::isfinite(current.Re) && std::isfinite(current.Im));
  EXPECT_GT(std::hypot(current.Re, current.Im), 0.0);
  std::cout << demo.board << " " << demo.net << " on " << demo.layer << ": KiCad "
            << net.kicadLengthMm << " mm, layout " << net.layoutLengthMm << " mm ("
            << 100 * (net.layoutLengthMm / net.kicadLengthMm - 1) << " %), grid "
            << imported.report.gridMm << " mm, " << imported.report.unknowns
            << " unknowns; import " << importSeconds << " s, computation " << computeSeconds
            << " s\n";
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
