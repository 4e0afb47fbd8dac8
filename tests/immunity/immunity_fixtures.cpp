#include "tests/immunity/immunity_fixtures.h"

#include "model/project_files.h"
#include "solver/dense_lu.h"
#include "studies/computation_driver.h"
#include "studies/linear_system.h"

namespace lumetra::testing {

Project LoadedLines(const TempDir& dir, const LinesLayout& layout, const std::vector<double>& ohms) {
  Project p = ParallelLines(dir, layout);
  const double dx = layout.LengthMm / layout.Cells;
  for (std::size_t k = 0; k < ohms.size() && k < static_cast<std::size_t>(layout.Lines); ++k) {
    const VoltageSource& near = p.VoltageSources[k * (layout.FarPorts ? 2 : 1)];
    ImpedanceElement load;
    load.X = near.X + layout.LengthMm - 3 * dx;
    load.Y = near.Y;
    load.Dx = dx;
    load.Dy = layout.WidthMm;
    load.R = ohms[k];
    load.LC = k % 2 ? -2e-12 : 5e-9;  // a capacitive and an inductive part in turn
    load.IsJx = true;
    load.ElementNo = near.ElementNo + layout.Cells - 3;
    p.Impedances.push_back(load);
  }
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

ComputationSettings ImmunitySettings(double startMHz, double stopMHz, double stepMHz) {
  ComputationSettings s = NetworkSettings(startMHz, stopMHz, stepMHz);
  s.ImpFile = true;
  return s;
}

void ForEachComputedPoint(Project& project, const ComputationSettings& settings, RecordingUi& ui,
                          const PointCheck& check) {
  ComputationControl control(ui);
  RunEnvironment environment;
  environment.WorkDirectory = std::filesystem::path(project.ProjectFile).parent_path();
  environment.StartupDirectory = environment.WorkDirectory;
  const FrequencyPointSolver solvePoint = [&](SystemLayout layout, AssemblyInput& input,
                                              ComputationControl& pointControl,
                                              FrequencyPointResult&, std::string&) {
    check(layout, input, pointControl);
    return true;
  };
  ComputationSettings inOrder = settings;  // the checks see the points one after another
  inOrder.Jobs = 1;
  RunComputation(project, inOrder, environment, control, {}, solvePoint);
}

Complex DirectReceivedCurrent(SystemLayout layout, AssemblyInput& input, ComputationControl& control,
                              const PlaneWave& wave, bool isJx, int elementNo) {
  ComputationPlan plan = input.Plan;
  plan.IncidentField = true;
  plan.IncTheta = wave.ThetaDeg;
  plan.IncPhi = wave.PhiDeg;
  plan.IncPol = wave.PolDeg;
  AssemblyInput own{input.Elements, input.Constants, plan, input.Model, false};
  LinearSystem s;
  FrequencyPointResult point;
  if (AssembleSystem(layout, own, control, s, point) != AssemblyOutcome::Assembled) return {};
  bool failed = false;
  if (s.Coupled()) {
    BlockLUSolve(s.Blocks.A, s.Blocks.Bm, s.Blocks.C, s.Blocks.D, s.Ix, s.Iy, s.Vx, s.Vy, control,
                 failed);
  } else if (HasJx(layout)) {
    LUSolve(s.Zxx, s.Ix, s.Vx, control, failed);
  } else {
    LUSolve(s.Zyy, s.Iy, s.Vy, control, failed);
  }
  if (failed) return {};
  if (isJx) {
    const double w = input.Elements.Jx[elementNo - 1].Dy;
    return {s.Ix(elementNo).Re * w, s.Ix(elementNo).Im * w};
  }
  const double w = input.Elements.Jy[elementNo - 1].Dx;
  return {s.Iy(elementNo).Re * w, s.Iy(elementNo).Im * w};
}

std::vector<immunity::PortElement> AddLoadPortSources(Project& project) {
  std::vector<immunity::PortElement> ports;
  for (const ImpedanceElement& load : project.Impedances) {
    ports.push_back({load.IsJx, load.ElementNo, false, project.VoltageSources.size()});
    project.VoltageSources.push_back(
        {load.X, load.Y, load.Dx, load.Dy, 0.0, 0.0, load.IsJx, load.ElementNo});
  }
  SaveProjectFiles(project, project.ProjectFile);
  return ports;
}

}  // namespace lumetra::testing
