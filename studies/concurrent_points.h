// Solving the frequency points of a sweep several at a time.
//
// The points of a sweep are independent once their inputs are a function of their
// index alone. Small and medium systems do not keep every core busy (the LU
// decomposition runs on one thread, the fill's pieces are short), so a sweep of them
// finishes sooner with a few points in flight, each filling on its share of the
// cores. Whatever ran where, the calling thread commits the points in index order:
// it alone writes the result files and talks to the person watching, so the files
// and messages are those of the one-at-a-time run.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "solver/computation_control.h"

namespace lumetra {

// Above this many unknowns a point's LU dominates and its memory is large: the
// default runs such sweeps one point at a time on all cores (bench/sweep_bench).
inline constexpr std::int32_t ConcurrentSweepUnknowns = 1000;

// The points in flight: `requested` when the user chose (at least 1, at most the
// points), else every core for a sweep below ConcurrentSweepUnknowns and one at a
// time above.
int SweepJobs(int requested, std::int32_t unknowns, std::size_t points, int cores);

struct ConcurrentPoints {
  std::size_t Count = 0;
  int Jobs = 2;
  // The points this process solves and those it commits (every point when unset);
  // with several processes, the points the others solve arrive through Arrived.
  std::function<bool(std::size_t index)> SolvedHere;
  std::function<bool(std::size_t index)> CommittedHere;
  // On a worker thread: solves point `index`, keeping whatever its commit needs.
  // `stop` is set when the sweep ends early (abort, a failed point): the point
  // should then stop at its next abort poll. Must not throw.
  std::function<void(std::size_t index, const std::atomic<bool>& stop)> Solve;
  // On the calling thread, for a point solved elsewhere: true once it has arrived.
  std::function<bool(std::size_t index)> Arrived;
  // On the calling thread, in index order, once the point is solved: false ends the
  // sweep (the points after it are not committed).
  std::function<bool(std::size_t index)> Commit;
  // On the calling thread: the point the sweep now waits for (its status text).
  std::function<void(std::size_t index)> Waiting;
  // On the calling thread: true when the sweep is ended from elsewhere.
  std::function<bool()> StopRequested;
};

// Runs the points while the calling thread polls control for Abort every few
// milliseconds, as RunPiecesWhilePolling does. Returns the number of points
// committed; on Abort control.AbortRequested is set, the points in flight stop and
// none after the last committed one is committed. A StopRequested ends the sweep
// the same way without setting the abort.
std::size_t RunPointsConcurrently(const ConcurrentPoints& points, ComputationControl& control);

}  // namespace lumetra
