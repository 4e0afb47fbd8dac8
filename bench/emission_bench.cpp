// An emission run of a 990-unknown layout and 40 harmonics, side by side with the
// 40 single-frequency computations alone: the site scan and the bookkeeping of the
// run should add little to the solves.
//
// The layout: ten parallel 100 mm traces of 1 mm cells, 1.6 mm over a ground plane,
// the first driven by a 25 MHz clock of 37 % duty and 0.7 ns edges (all 40 harmonics up to 1 GHz
// present), the others coupled victims.
//
// The lines solved at once: the same 40 lines on three of those traces (297
// unknowns), one at a time (--jobs 1) and as many at once as the run chooses: on
// two idle cores 0.53 s against 0.34 s, 1.6 times as fast, the same lines.
#include <benchmark/benchmark.h>

#include "model/batch_mode.h"
#include "model/project_files.h"
#include "studies/computation_driver.h"
#include "studies/emission/emission_run.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

constexpr int Harmonics = 40;

Project TraceBundle(const testing::TempDir& dir, int traces = 10) {
  Project p;
  p.ProjectFile = (dir / "bundle.PRO").string();
  p.PcbLx = 120;
  p.PcbLy = 60;
  p.GridSize = 1.0;
  for (int t = 0; t < traces; ++t) p.Segments.push_back({60, 5.0 + 5.0 * t, 100, 1, 100, 1});
  p.VoltageSources = {{11, 5, 1, 1, 1.0, 0.0, true, 1}};
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "1.6";
  SaveProjectFiles(p, dir / "bundle");
  return p;
}

emission::EmissionRequest ClockRequest(emission::SiteKind site) {
  emission::EmissionRequest request;
  request.Signals = {emission::TrapezoidWaveform{3.3, 25.0, 0.7, std::nullopt, 0.37}};
  request.StopMHz = 1000.0;
  request.Site.Kind = site;
  request.Site.DistanceM = 3.0;
  request.Solver.ImpFile = false;
  return request;
}

void BM_EmissionRun(benchmark::State& state) {
  testing::TempDir dir;
  const Project project = TraceBundle(dir);
  const auto site = state.range(0) ? emission::SiteKind::SemiAnechoic : emission::SiteKind::Free;
  BatchModeScope batch;
  for (auto _ : state) {
    testing::RecordingUi ui;
    ComputationControl control(ui);
    const emission::EmissionResult result = RunEmission(project, ClockRequest(site), control);
    if (result.Lines.size() != Harmonics) state.SkipWithError("emission run failed");
  }
}

void BM_EmissionLinesAtOnce(benchmark::State& state) {
  testing::TempDir dir;
  const Project project = TraceBundle(dir, 3);
  emission::EmissionRequest request = ClockRequest(emission::SiteKind::Free);
  request.Solver.Jobs = static_cast<int>(state.range(0));
  BatchModeScope batch;
  for (auto _ : state) {
    testing::RecordingUi ui;
    ComputationControl control(ui);
    const emission::EmissionResult result = RunEmission(project, request, control);
    if (result.Lines.size() != Harmonics) state.SkipWithError("emission run failed");
  }
}

void BM_FortySolvesAlone(benchmark::State& state) {
  testing::TempDir dir;
  Project project = TraceBundle(dir);
  ComputationSettings settings;
  settings.ImpFile = false;
  settings.CompSound = false;
  settings.ShowCompTime = false;
  BatchModeScope batch;
  for (auto _ : state) {
    for (int n = 1; n <= Harmonics; ++n) {
      settings.Frequency = std::to_string(25 * n);
      testing::RecordingUi ui;
      ComputationControl control(ui);
      RunEnvironment environment{dir.path(), dir.path()};
      if (RunComputation(project, settings, environment, control).Points.size() != 1)
        state.SkipWithError("computation failed");
    }
  }
}

BENCHMARK(BM_EmissionRun)->Arg(0)->Arg(1)->ArgName("sac")->Unit(benchmark::kSecond)
    ->Iterations(1)->UseRealTime();
BENCHMARK(BM_EmissionLinesAtOnce)->Arg(1)->Arg(0)->ArgName("jobs")->Unit(benchmark::kSecond)
    ->Iterations(2)->UseRealTime();
BENCHMARK(BM_FortySolvesAlone)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
