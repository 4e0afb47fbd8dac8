// The network sweep against the plain compute sweep of the same layout: four
// parallel traces of 375 Jx elements each (1500 unknowns) over a ground plane, a
// port on each, three frequencies. The network costs one fill and one
// factorisation per frequency plus four substitutions; the target is a ratio of at
// most 1.2.
#include <chrono>
#include <cstdio>

#include "model/batch_mode.h"
#include "model/project_files.h"
#include "studies/computation_driver.h"
#include "studies/network/network_run.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

Project FourTraces(const testing::TempDir& dir) {
  Project p;
  p.ProjectFile = (dir / "traces.PRO").string();
  p.PcbLx = 300;
  p.PcbLy = 100;
  const int cells = 376;
  const double length = 188, dx = length / cells, x0 = 150 - length / 2;
  for (int k = 0; k < 4; ++k) {
    const double y = 41 + 6 * k;
    p.Segments.push_back({150, y, length, 1, cells, 1});
    p.VoltageSources.push_back({x0 + dx, y, dx, 1, 1.0, 0.0, true, k * (cells - 1) + 1});
  }
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "1.6";
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

ComputationSettings Sweep() {
  ComputationSettings s;
  s.SweepFreq = true;
  s.StartFreq = "100";
  s.StopFreq = "500";
  s.StepFreq = "200";
  s.ImpFile = false;
  s.CompSound = false;
  s.ShowCompTime = false;
  return s;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace
}  // namespace lumetra

int main() {
  using namespace lumetra;
  BatchMode = true;
  testing::TempDir dir;
  Project project = FourTraces(dir);
  const ComputationSettings settings = Sweep();
  double best[2] = {1e300, 1e300};
  int unknowns = 0;
  for (int round = 0; round < 3; ++round) {
    {
      testing::RecordingUi ui;
      ComputationControl control(ui);
      RunEnvironment environment;
      environment.WorkDirectory = dir.path();
      environment.StartupDirectory = dir.path();
      const auto start = std::chrono::steady_clock::now();
      const ComputationReport report = RunComputation(project, settings, environment, control);
      best[0] = std::min(best[0], Seconds(start));
      unknowns = report.Unknowns;
      if (report.Points.size() != 3) return 1;
    }
    {
      testing::RecordingUi ui;
      ComputationControl control(ui);
      const auto start = std::chrono::steady_clock::now();
      const network::NetworkResult result = network::RunNetwork(project, settings, control);
      best[1] = std::min(best[1], Seconds(start));
      if (result.Points.size() != 3) return 1;
    }
  }
  std::printf("%d unknowns, 4 ports, 3 frequencies (best of 3)\n", unknowns);
  std::printf("compute sweep  %.3f s\nnetwork sweep  %.3f s\nratio          %.3f (target <= 1.2)\n",
              best[0], best[1], best[1] / best[0]);
  return 0;
}
