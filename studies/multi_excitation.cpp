#include "studies/multi_excitation.h"

#include <chrono>

#include "solver/dense_lu.h"
#include "studies/linear_system.h"

namespace lumetra {

bool SolveForExcitations(SystemLayout layout, AssemblyInput& in,
                         const std::vector<SourceDrive>& drives, ComputationControl& control,
                         MultiExcitationResult& result, const SolutionVisitor& visit) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  result = MultiExcitationResult{};

  LinearSystem s;
  switch (AssembleSystem(layout, in, control, s, result.Point)) {
    case AssemblyOutcome::NotCreated: return false;
    case AssemblyOutcome::Stopped: return true;
    case AssemblyOutcome::Assembled: break;
  }

  const auto solveStart = Clock::now();
  const auto fail = [&] {
    control.ui.ShowMessage(LuFailedMessage);
    control.AbortRequested = true;
    return true;
  };
  LuFactors factors;
  bool failed = false;
  if (s.Coupled()) {
    BlockLUFactor(s.Blocks.A, s.Blocks.Bm, s.Blocks.C, s.Blocks.D, s.XRows(), s.YRows(), factors,
                  control, failed);
  } else {
    LUFactor(HasJx(layout) ? s.Zxx : s.Zyy, factors, control, failed);
  }
  if (failed) return fail();
  if (control.AbortRequested || control.PumpAndCheckAbort()) return true;

  for (std::size_t k = 0; k < drives.size(); ++k) {
    ExciteSources(s, in, drives[k]);
    if (s.Coupled()) {
      BlockLUSolveWithFactors(factors, s.Ix, s.Iy, s.Vx, s.Vy, control, failed);
    } else if (HasJx(layout)) {
      LUSolveWithFactors(factors, s.Ix, s.Vx, control, failed);
    } else {
      LUSolveWithFactors(factors, s.Iy, s.Vy, control, failed);
    }
    if (failed) return fail();
    if (control.AbortRequested) return true;
    ExciteSources(s, in, drives[k]);  // the plain solve overwrote the right-hand side
    ExcitationReading reading;
    reading.InputPower = InputPower(s, in.Elements);
    reading.Sources = ReadSources(s, in, drives[k]);
    result.Excitations.push_back(std::move(reading));
    if (visit)
      visit(k, SolvedCurrents{HasJx(layout) ? s.Ix.Data() : nullptr,
                              HasJy(layout) ? s.Iy.Data() : nullptr, s.GroundCurrents()});
  }

  const auto end = Clock::now();
  result.Point.FillSeconds = std::chrono::duration<double>(solveStart - start).count();
  result.Point.SolveSeconds = std::chrono::duration<double>(end - solveStart).count();
  if (!result.Excitations.empty()) {
    result.Point.InputPower = result.Excitations.back().InputPower;
    result.Point.Sources = result.Excitations.back().Sources;
  }
  return true;
}

}  // namespace lumetra
