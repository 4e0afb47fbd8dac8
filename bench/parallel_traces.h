// The layout and timing pieces the study benchmarks share: parallel traces over a
// ground plane, 6 mm apart around the board's centre line, each with a 1 V source
// on its first element and, when asked, a receiver load (10 kohm with 5 pF) on its
// last; a three-point sweep 100..500 MHz; and a timed plain compute of it.
#pragma once

#include <chrono>

#include "model/project_files.h"
#include "studies/computation_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra::bench {

inline Project ParallelTraces(const testing::TempDir& dir, int traces, int cells, double lengthMm,
                              bool receiverLoads) {
  Project p;
  p.ProjectFile = (dir / "traces.PRO").string();
  p.PcbLx = 300;
  p.PcbLy = 100;
  const double dx = lengthMm / cells, x0 = 150 - lengthMm / 2;
  for (int k = 0; k < traces; ++k) {
    const double y = 50 - 3.0 * (traces - 1) + 6.0 * k;
    p.Segments.push_back({150, y, lengthMm, 1, cells, 1});
    const int first = k * (cells - 1) + 1, last = (k + 1) * (cells - 1);
    p.VoltageSources.push_back({x0 + dx, y, dx, 1, 1.0, 0.0, true, first});
    if (!receiverLoads) continue;
    ImpedanceElement load;
    load.X = x0 + lengthMm - dx;
    load.Y = y;
    load.Dx = dx;
    load.Dy = 1;
    load.R = 10000;
    load.LC = -5e-12;
    load.IsJx = true;
    load.ElementNo = last;
    p.Impedances.push_back(load);
  }
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "1.6";
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

inline ComputationSettings ThreePointSweep(bool loads) {
  ComputationSettings s;
  s.SweepFreq = true;
  s.StartFreq = "100";
  s.StopFreq = "500";
  s.StepFreq = "200";
  s.ImpFile = loads;
  s.CompSound = false;
  s.ShowCompTime = false;
  return s;
}

inline double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The wall time of a plain compute of the settings (negative when it did not solve
// every point of the three-point sweep); its unknowns in unknowns.
inline double TimedCompute(Project& project, const ComputationSettings& settings,
                           const testing::TempDir& dir, int& unknowns) {
  testing::RecordingUi ui;
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = dir.path();
  environment.StartupDirectory = dir.path();
  const auto start = std::chrono::steady_clock::now();
  const ComputationReport report = RunComputation(project, settings, environment, control);
  unknowns = report.Unknowns;
  return report.Points.size() == 3 ? Seconds(start) : -1.0;
}

}  // namespace lumetra::bench
