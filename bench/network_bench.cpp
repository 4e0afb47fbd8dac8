// The network sweep against the plain compute sweep of the same layout: four
// parallel traces of 375 Jx elements each (1500 unknowns) over a ground plane, a
// port on each, three frequencies. The network costs one fill and one
// factorisation per frequency plus four substitutions; the target is a ratio of at
// most 1.2.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bench/parallel_traces.h"
#include "model/batch_mode.h"
#include "studies/network/network_run.h"

int main() {
  using namespace lumetra;
  using namespace lumetra::bench;
  BatchMode = true;
  testing::TempDir dir;
  Project project = ParallelTraces(dir, 4, 376, 188, false);
  const ComputationSettings settings = ThreePointSweep(false);
  double best[2] = {1e300, 1e300};
  int unknowns = 0;
  for (int round = 0; round < 3; ++round) {
    const double compute = TimedCompute(project, settings, dir, unknowns);
    if (compute < 0) return 1;
    best[0] = std::min(best[0], compute);
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
