// The immunity sweep against the plain compute sweep of the same layout: three
// parallel traces of 334 Jx elements each (1002 unknowns) over a ground plane, a
// driver source at the near end and a receiver load at the far end of each, three
// frequencies. The immunity run costs one fill and one factorisation per
// frequency, three substitutions and the direction search; the target is a ratio
// of at most 1.2 to the compute sweep. Brute force (a plane-wave computation per
// direction and polarisation on a 10-degree grid of the hemisphere, 10 x 36 x 2 =
// 720 of them per frequency) is timed on a few directions and scaled.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bench/parallel_traces.h"
#include "model/batch_mode.h"
#include "studies/immunity/immunity_run.h"

int main() {
  using namespace lumetra;
  using namespace lumetra::bench;
  BatchMode = true;
  testing::TempDir dir;
  Project project = ParallelTraces(dir, 3, 335, 201, true);
  const ComputationSettings settings = ThreePointSweep(true);
  double compute = 1e300, immunitySweep = 1e300, scan = 0.0;
  int unknowns = 0;
  for (int round = 0; round < 3; ++round) {
    const double t = TimedCompute(project, settings, dir, unknowns);
    if (t < 0) return 1;
    compute = std::min(compute, t);
    testing::RecordingUi ui;
    ComputationControl control(ui);
    immunity::ImmunityOptions options;
    options.Loads = {1, 2, 3};
    const auto start = std::chrono::steady_clock::now();
    const immunity::ImmunityResult result = immunity::RunImmunity(project, settings, options, control);
    const double seconds = Seconds(start);
    if (result.Points.size() != 3) return 1;
    if (seconds < immunitySweep) {
      immunitySweep = seconds;
      scan = result.ScanSeconds;
    }
  }
  // Brute force: one plane-wave computation of the sweep per direction and
  // polarisation. Four of them are timed; the 720 of the grid cost as many times.
  double perDirection = 0.0;
  const double directions[4][3] = {{0, 0, 0}, {30, 40, 90}, {60, 200, 0}, {80, 310, 90}};
  for (const auto& d : directions) {
    ComputationSettings wave = settings;
    wave.IncField = true;
    wave.IncTheta = std::to_string(d[0]);
    wave.IncPhi = std::to_string(d[1]);
    wave.IncPol = std::to_string(d[2]);
    const double t = TimedCompute(project, wave, dir, unknowns);
    if (t < 0) return 1;
    perDirection += t / 4;
  }
  const double brute = 720 * perDirection;
  std::printf("%d unknowns, 3 loads, 3 frequencies (best of 3)\n", unknowns);
  std::printf("compute sweep   %.3f s\nimmunity sweep  %.3f s (direction search %.3f s)\n"
              "ratio           %.3f (target <= 1.2)\n",
              compute, immunitySweep, scan, immunitySweep / compute);
  std::printf("brute force     %.1f s (720 plane-wave sweeps of %.3f s)\n"
              "brute / compute %.0f, brute / immunity %.0f\n",
              brute, perDirection, brute / compute, brute / immunitySweep);
  return 0;
}
