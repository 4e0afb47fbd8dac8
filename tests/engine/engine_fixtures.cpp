#include "tests/engine/engine_fixtures.h"

#include <cmath>

#include <gtest/gtest.h>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/number_format.h"
#include "model/project_files.h"

namespace lumetra::testing {

Project StripDipole(const TempDir& dir, double lengthMm, double widthMm, int cells) {
  Project p;
  p.ProjectFile = (dir / "strip.PRO").string();
  p.PcbLx = 200;
  p.PcbLy = 100;
  p.Segments = {{100, 50, lengthMm, widthMm, cells, 1}};
  const double dx = lengthMm / cells;
  p.VoltageSources = {{100, 50, dx, widthMm, 1.0, 0.0, true, cells / 2}};
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

ComputationReport Compute(Project& project, const ComputationSettings& settings,
                          RecordingUi& ui, const TempDir& dir,
                          std::optional<std::int64_t> availableBytes) {
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = dir.path();
  environment.StartupDirectory = dir.path();
  if (availableBytes) environment.AvailableMemory = [availableBytes] { return availableBytes; };
  return RunComputation(project, settings, environment, control);
}

ComputationSettings SingleFrequency(double mhz) {
  ComputationSettings s;
  s.Frequency = FormatGeneral(mhz);
  s.ImpFile = false;
  s.CompSound = false;
  s.ShowCompTime = false;
  return s;
}

ComputationSettings LinearSweep(double startMHz, double stopMHz, double stepMHz) {
  ComputationSettings s = SingleFrequency(startMHz);
  s.SweepFreq = true;
  s.StartFreq = FormatGeneral(startMHz);
  s.StopFreq = FormatGeneral(stopMHz);
  s.StepFreq = FormatGeneral(stepMHz);
  return s;
}

ComputationSettings WithFarField(ComputationSettings s, const std::array<double, 3>& theta,
                                 const std::array<double, 3>& phi) {
  s.FarField = true;
  s.ThetaStart = FormatGeneral(theta[0]);
  s.ThetaStop = FormatGeneral(theta[1]);
  s.ThetaStep = FormatGeneral(theta[2]);
  s.PhiStart = FormatGeneral(phi[0]);
  s.PhiStop = FormatGeneral(phi[1]);
  s.PhiStep = FormatGeneral(phi[2]);
  return s;
}

double Pattern::At(double theta, double phi, int column) const {
  for (const auto& r : Rows)
    if (std::fabs(r[0] - theta) < 1e-6 && std::fabs(r[1] - phi) < 1e-6) return r[column];
  ADD_FAILURE() << "no direction " << theta << ", " << phi;
  return 0;
}

Pattern ReadPattern(const std::filesystem::path& rad) {
  const auto block = FirstBlockAtOrAbove(rad, 0.0, FarFieldFileFields);
  Pattern p;
  if (!block) return p;
  for (std::size_t r = 0; r < block->Rows(); ++r) {
    const double* row = block->Row(r);
    p.Rows.push_back({row[0], row[1], row[2], row[3]});
  }
  return p;
}

double RadiatedPower(const Pattern& p, double stepDeg) {
  const double step = stepDeg * M_PI / 180;
  double sum = 0;
  for (const auto& r : p.Rows) {
    const double theta = r[0] * M_PI / 180;
    // Trapezoidal in theta (the 90 degree row counts half), rectangles in phi.
    const double weight = (r[0] >= 90 - 1e-9) ? 0.5 : 1.0;
    if (r[1] >= 360 - 1e-9) continue;  // phi = 360 repeats phi = 0
    sum += weight * (r[2] * r[2] + r[3] * r[3]) * std::sin(theta);
  }
  return sum * step * step / (2 * Eta0);
}

std::vector<CurrentRow> ReadCurrents(const std::filesystem::path& file) {
  std::vector<CurrentRow> rows;
  if (IsResultFileEmpty(file)) return rows;
  const auto block = FirstBlockAtOrAbove(file, 0.0, CurrentFileFields);
  if (!block) return rows;
  for (std::size_t r = 0; r < block->Rows(); ++r) {
    const double* v = block->Row(r);
    rows.push_back({v[0], v[1], v[2], v[3], {v[4], v[5]}});
  }
  return rows;
}

}  // namespace lumetra::testing
