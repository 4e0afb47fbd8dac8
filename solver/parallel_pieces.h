// Runs independent pieces of a long computation on worker threads while the
// calling (user-interface) thread keeps the window alive.
//
// The calling thread does no work itself: it wakes every 5 ms, lets the
// window handle its events through control.PumpAndCheckAbort(), and on Abort tells
// the workers to stop after the piece each is working on. Pieces should therefore
// take at most a few milliseconds.
#pragma once

#include <cstdint>
#include <functional>

#include "solver/computation_control.h"

namespace lumetra {

// Number of worker threads the fill uses: the machine's cores, at least one, and
// no more than the limit a WorkerLimit of the calling thread sets.
int FillWorkerCount();

// While it lives, FillWorkerCount() on the constructing thread gives at most
// `workers`: a sweep that solves several frequency points at once shares the
// cores among them instead of starting cores x points threads.
class WorkerLimit {
public:
  explicit WorkerLimit(int workers);
  ~WorkerLimit();
  WorkerLimit(const WorkerLimit&) = delete;
  WorkerLimit& operator=(const WorkerLimit&) = delete;

private:
  int previous_;
};

// Calls work(piece, worker) for every piece in [0, pieceCount), worker in
// [0, workers) naming the thread, so that per-worker scratch needs no locking.
// Returns false when the user aborted (control.AbortRequested is then set; some
// pieces did not run). An exception thrown by a piece stops the others and is
// rethrown here.
bool RunPiecesWhilePolling(std::int64_t pieceCount, int workers,
                           const std::function<void(std::int64_t piece, int worker)>& work,
                           ComputationControl& control);

}  // namespace lumetra
