#include "studies/system_assembly.h"

#include <chrono>

#include "fields/far_field.h"
#include "fields/far_field_dielectric.h"
#include "fields/result_files.h"
#include "model/project_files.h"
#include "solver/dense_lu.h"
#include "studies/linear_system.h"

namespace lumetra {

namespace {

bool WriteResults(LinearSystem& s, const AssemblyInput& in, ComputationControl& control) {
  const bool scratch = !in.ScratchProject.empty();
  const std::filesystem::path project = scratch ? in.ScratchProject
                                                : std::filesystem::path(in.Model.ProjectFile);
  const bool first = in.FirstPoint || scratch;
  const double f = in.Constants.FrequencyMHz;
  // The point's blocks stand or fall together: a full disk while the pattern is
  // written also takes back this frequency's currents.
  ResultPointGuard point(ComputationResultFiles(project, in.Plan.FarField), first);
  if (HasJx(s.Layout))
    WriteCurrentFile(ProjectFileWithExtension(project, ".XXX"), first, f, in.Elements.Jx,
                     s.Ix.Data());
  if (HasJy(s.Layout))
    WriteCurrentFile(ProjectFileWithExtension(project, ".YYY"), first, f, in.Elements.Jy,
                     s.Iy.Data());
  if (in.Plan.GroundPlane)
    WriteGroundPlaneFiles(project, first, f, in.Elements, s.GroundCurrents(),
                          in.Plan.HeightMm);
  if (!in.Plan.FarField) {
    point.Keep();
    return true;
  }
  const FarFieldGrid grid{in.Plan.ThetaStart, in.Plan.ThetaStop, in.Plan.ThetaStep,
                          in.Plan.PhiStart,   in.Plan.PhiStop,   in.Plan.PhiStep};
  const Complex* none = nullptr;
  bool completed = false;
  if (SlabPresent(in.Constants)) {
    const SlabMedium slab{in.Constants.EpsR, f, in.Constants.Height};
    completed = WriteFarFieldDielectric(project, first, slab, in.Elements,
                                        HasJx(s.Layout) ? s.Ix.Data() : none,
                                        HasJy(s.Layout) ? s.Iy.Data() : none, grid, control);
  } else {
    completed = WriteFarField(project, first, in.Constants, in.Elements,
                              HasJx(s.Layout) ? s.Ix.Data() : none,
                              HasJy(s.Layout) ? s.Iy.Data() : none, s.GroundCurrents(), grid,
                              control);
  }
  if (completed) point.Keep();
  return completed;
}

}  // namespace

bool SolveFrequencyPoint(SystemLayout layout, AssemblyInput& in, ComputationControl& control,
                         FrequencyPointResult& result) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto step = [&] { return control.PumpAndCheckAbort(); };

  LinearSystem s;
  switch (AssembleSystem(layout, in, control, s, result)) {
    case AssemblyOutcome::NotCreated: return false;
    case AssemblyOutcome::Stopped: return true;
    case AssemblyOutcome::Assembled: break;
  }

  const auto solveStart = Clock::now();
  bool failed = false;
  if (s.Coupled()) {
    BlockLUSolve(s.Blocks.A, s.Blocks.Bm, s.Blocks.C, s.Blocks.D, s.Ix, s.Iy, s.Vx, s.Vy, control,
                 failed);
  } else if (HasJx(layout)) {
    LUSolve(s.Zxx, s.Ix, s.Vx, control, failed);
  } else {
    LUSolve(s.Zyy, s.Iy, s.Vy, control, failed);
  }
  if (failed) {
    control.ui.ShowMessage(LuFailedMessage);
    control.AbortRequested = true;
  }
  if (control.AbortRequested || step()) return true;

  Excite(s, in);  // the solver overwrote the right-hand sides
  result.InputPower = InputPower(s, in.Elements);
  result.Sources = ReadSources(s, in, ProjectSourceVoltages(in.Model));
  WriteResults(s, in, control);

  const auto end = Clock::now();
  result.FillSeconds = std::chrono::duration<double>(solveStart - start).count();
  result.SolveSeconds = std::chrono::duration<double>(end - solveStart).count();
  return true;
}

}  // namespace lumetra
