// What High accuracy costs against Standard at one frequency point, end to end.
//
// Without a slab: ten parallel 100 mm traces of 1 mm cells, 1.6 mm over a ground
// plane, each grounded at both ends (990 Jx elements and 20 ground points, 1010
// unknowns): High tests the ground points' vertical paths over their depth.
// On a slab: the 50 mm FR-4 microstrip of 0.5 mm cells, where High raises the
// spectral points from 100 to what the strip's length needs.
#include <benchmark/benchmark.h>

#include "model/batch_mode.h"
#include "model/project_files.h"
#include "studies/computation_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

Project GroundedTraces(const testing::TempDir& dir) {
  Project p;
  p.ProjectFile = (dir / "traces.PRO").string();
  p.PcbLx = 120;
  p.PcbLy = 60;
  p.GridSize = 1;
  for (int t = 0; t < 10; ++t) {
    const double y = 5 + 5 * t;
    p.Segments.push_back({60, y, 100, 1, 100, 1});
    p.GroundPoints.push_back({100 * t + 1, EdgeLeft, 1.0 / 3, 10, y});
    p.GroundPoints.push_back({100 * t + 100, EdgeRight, 1.0 / 3, 110, y});
  }
  p.VoltageSources = {{60, 5, 1, 1, 1.0, 0.0, true, 50}};
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "1.6";
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

Project Microstrip(const testing::TempDir& dir) {
  Project p;
  p.ProjectFile = (dir / "strip.PRO").string();
  p.PcbLx = 100;
  p.PcbLy = 50;
  p.GridSize = 0.5;
  p.Segments = {{50, 25, 50, 3, 100, 1}};
  p.VoltageSources = {{50, 25, 0.5, 3, 1.0, 0.0, true, 50}};
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "1.6";
  p.Env.DielConst = "4.4";
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

void Run(benchmark::State& state, Project& project, const char* frequency) {
  ComputationSettings settings;
  settings.Frequency = frequency;
  settings.ImpFile = false;
  settings.CompSound = false;
  settings.Accuracy = state.range(0) ? SolverAccuracy::High : SolverAccuracy::Standard;
  testing::TempDir work;
  BatchModeScope batch;
  for (auto _ : state) {
    testing::RecordingUi ui;
    ComputationControl control(ui);
    RunEnvironment environment{work.path(), work.path()};
    const ComputationReport report = RunComputation(project, settings, environment, control);
    if (report.Points.size() != 1) {
      state.SkipWithError("computation failed");
      break;
    }
    state.counters["unknowns"] = report.Unknowns;
    state.counters["spectral_points"] = report.Points[0].SpectralPoints;
  }
}

void BM_GroundedTracesWithoutSlab(benchmark::State& state) {
  testing::TempDir dir;
  Project project = GroundedTraces(dir);
  Run(state, project, "500");
}

void BM_MicrostripOnSlab(benchmark::State& state) {
  testing::TempDir dir;
  Project project = Microstrip(dir);
  Run(state, project, "1600");
}

BENCHMARK(BM_GroundedTracesWithoutSlab)->Arg(0)->Arg(1)->ArgName("high")
    ->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_MicrostripOnSlab)->Arg(0)->Arg(1)->ArgName("high")
    ->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
