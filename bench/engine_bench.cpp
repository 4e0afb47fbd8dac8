// One frequency point end to end (validation, connection step, temporary project
// files, element lists, fill, solve, result files), side by side with the LU solve
// alone of a system of the same order.
//
// The layout is one 64 x 64 mm plane of 2 mm cells (992 Jx and 992 Jy elements,
// 1984 unknowns) fed at its centre, in free space and over a ground plane.
#include <benchmark/benchmark.h>

#include <random>

#include "bench/block_system_setup.h"
#include "model/batch_mode.h"
#include "model/project_files.h"
#include "studies/computation_driver.h"
#include "solver/dense_lu.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

Project PlaneProject(const testing::TempDir& dir, bool groundPlane) {
  Project p;
  p.ProjectFile = (dir / "plane.PRO").string();
  p.PcbLx = 100;
  p.PcbLy = 100;
  p.Segments = {{50, 50, 64, 64, 32, 32}};
  p.VoltageSources = {{50, 51, 2, 2, 1.0, 0.0, true, 16 * 31 + 16}};
  p.Env.GroundPlane = groundPlane;
  p.Env.GPHeight = "1.6";
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

void BM_OneFrequencyEndToEnd(benchmark::State& state) {
  testing::TempDir dir;
  Project project = PlaneProject(dir, state.range(0) != 0);
  ComputationSettings settings;
  settings.Frequency = "1000";
  settings.ImpFile = false;
  settings.CompSound = false;
  BatchModeScope batch;
  for (auto _ : state) {
    testing::RecordingUi ui;
    ComputationControl control(ui);
    RunEnvironment environment{dir.path(), dir.path()};
    const ComputationReport report = RunComputation(project, settings, environment, control);
    if (report.Points.size() != 1) state.SkipWithError("computation failed");
    else state.counters["unknowns"] = report.Unknowns;
  }
}

void BM_SolveAlone(benchmark::State& state) {
  const int p = 992, q = 992, n = p + q;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<Complex> whole(static_cast<std::size_t>(n) * n);
  for (Complex& z : whole) z = {u(random), u(random)};
  for (int i = 0; i < n; ++i) whole[static_cast<std::size_t>(i) * n + i].Re += 20;
  testing::RecordingUi ui;
  for (auto _ : state) {
    state.PauseTiming();
    PreparedBlockSystem s(p, q, whole);
    s.B1(1) = {1, 0};
    ComputationControl control(ui);
    state.ResumeTiming();
    BlockLUSolve(s.System.A, s.System.Bm, s.System.C, s.System.D, s.X1, s.X2, s.B1, s.B2, control,
                 s.Failed);
  }
}

BENCHMARK(BM_OneFrequencyEndToEnd)->Arg(0)->Arg(1)->ArgName("ground_plane")
    ->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_SolveAlone)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
