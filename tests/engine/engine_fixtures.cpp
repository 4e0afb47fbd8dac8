#include "tests/engine/engine_fixtures.h"

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
                          RecordingUi& ui, const TempDir& dir) {
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = dir.path();
  environment.StartupDirectory = dir.path();
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

}  // namespace lumetra::testing
