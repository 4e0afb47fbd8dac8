// A frequency sweep solved one point at a time against several points in flight.
//
// Two layouts: a 12 x 14 plane of 2 mm cells (310 unknowns) swept over 200 points,
// whose fill and LU are too short to keep every core busy, and a 31 x 32 plane
// (1921 unknowns) swept over 4 points, whose LU keeps them busy. Arguments: the
// layout's cells along x, the points of the sweep and the points in flight (0: the
// program's choice).
#include <benchmark/benchmark.h>

#include <thread>

#include "model/batch_mode.h"
#include "model/project_files.h"
#include "studies/computation_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

Project PlaneProject(const testing::TempDir& dir, int cellsX, int cellsY) {
  Project p;
  p.ProjectFile = (dir / "plane.PRO").string();
  p.PcbLx = 100;
  p.PcbLy = 100;
  p.Segments = {{50, 50, 2.0 * cellsX, 2.0 * cellsY, cellsX, cellsY}};
  p.VoltageSources = {{50, 51, 2, 2, 1.0, 0.0, true, (cellsX - 1) * (cellsY / 2) + cellsX / 2}};
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

void BM_Sweep(benchmark::State& state) {
  const int cellsX = static_cast<int>(state.range(0));
  const int points = static_cast<int>(state.range(1));
  testing::TempDir dir;
  Project project = PlaneProject(dir, cellsX, cellsX + (cellsX == 12 ? 2 : 1));
  ComputationSettings settings;
  settings.SweepFreq = true;
  settings.StartFreq = "100";
  settings.StopFreq = std::to_string(100 + 5 * (points - 1));
  settings.StepFreq = "5";
  settings.ImpFile = false;
  settings.CompSound = false;
  settings.ShowCompTime = false;
  settings.Jobs = static_cast<int>(state.range(2));
  BatchModeScope batch;
  for (auto _ : state) {
    testing::RecordingUi ui;
    ComputationControl control(ui);
    RunEnvironment environment{dir.path(), dir.path()};
    const ComputationReport report = RunComputation(project, settings, environment, control);
    if (report.Points.size() != static_cast<std::size_t>(points))
      state.SkipWithError("computation failed");
    else state.counters["unknowns"] = report.Unknowns;
  }
  state.counters["cores"] = std::thread::hardware_concurrency();
}

BENCHMARK(BM_Sweep)
    ->ArgNames({"cells", "points", "jobs"})
    ->Args({12, 200, 1})
    ->Args({12, 200, 2})
    ->Args({12, 200, 0})
    ->Args({31, 4, 1})
    ->Args({31, 4, 2})
    ->Args({31, 4, 0})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(2)
    ->UseRealTime();

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
