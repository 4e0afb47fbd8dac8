// The spectral lines of an emission run solved several at a time, or shared by the
// processes of a lumetra-mpi run.
//
// Each line is a single-frequency solve of its own (studies/emission/emission_line.h),
// so the lines are the points of a sweep: RunPointsConcurrently keeps a few in
// flight, each on a private copy of the project, their messages held back. The
// calling thread commits them in frequency order: it shows each line's messages
// then and keeps the line, so what the person sees and what the run returns are
// those of the one-at-a-time run. With an exchange, line i is solved by process
// i mod N and rank 0 alone commits.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "model/project.h"
#include "solver/computation_control.h"
#include "studies/computation_settings.h"
#include "studies/emission/emission_run.h"
#include "studies/point_exchange.h"

namespace lumetra::emission {

struct LineSweep {
  const Project& Layout;
  const ComputationSettings& Solver;  // the request's solver settings
  const std::vector<SourceSignal>& Signals;
  const SiteSettings& Site;           // placed over the board
  const std::vector<double>& Frequencies;
  PointExchange* Exchange = nullptr;
};

struct LineCommits {
  // The messages of the committed lines, each distinct one once (the run's ui).
  UserInterface& Shown;
  // The line the run now waits for (its status text and progress).
  std::function<void(std::size_t index)> Waiting;
  // A solved line, in frequency order.
  std::function<void(EmissionLine&& line)> Keep;
};

// Solves the lines from `first` on with `jobs` in flight. True when every line was
// committed; false when one stopped the run (refused, failed: its message was
// shown) or it was aborted (control.AbortRequested is then set). A failure of a
// line on this process is thrown on the calling thread, as in the one-at-a-time
// run; one on another process is shown as ProcessFailedMessage.
bool SolveLinesConcurrently(const LineSweep& sweep, std::size_t first, int jobs,
                            ComputationControl& control, const LineCommits& commits);

}  // namespace lumetra::emission
