#include "solver/parallel_pieces.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace lumetra {

namespace {
thread_local int workerLimit = 0;  // 0: no limit below the cores
}  // namespace

int FillWorkerCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  const int count = static_cast<int>(std::clamp(cores, 1u, 64u));
  return workerLimit > 0 ? std::min(count, workerLimit) : count;
}

WorkerLimit::WorkerLimit(int workers) : previous_(workerLimit) { workerLimit = std::max(workers, 1); }
WorkerLimit::~WorkerLimit() { workerLimit = previous_; }

bool RunPiecesWhilePolling(std::int64_t pieceCount, int workers,
                           const std::function<void(std::int64_t, int)>& work,
                           ComputationControl& control) {
  if (control.PumpAndCheckAbort()) return false;
  if (pieceCount <= 0) return true;
  workers = static_cast<int>(std::clamp<std::int64_t>(workers, 1, pieceCount));

  std::atomic<std::int64_t> nextPiece{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable finished;
  int running = workers;
  std::exception_ptr failure;

  auto workerLoop = [&](int worker) {
    try {
      while (!stop.load(std::memory_order_relaxed)) {
        const std::int64_t piece = nextPiece.fetch_add(1, std::memory_order_relaxed);
        if (piece >= pieceCount) break;
        work(piece, worker);
      }
    } catch (...) {
      std::lock_guard lock(mutex);
      if (!failure) failure = std::current_exception();
      stop = true;
    }
    std::lock_guard lock(mutex);
    --running;
    finished.notify_one();
  };

  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(workers));
  for (int w = 0; w < workers; ++w) threads.emplace_back(workerLoop, w);

  // The user-interface side: poll until every worker has left its loop.
  constexpr auto pollInterval = std::chrono::milliseconds(5);
  {
    std::unique_lock lock(mutex);
    while (running > 0) {
      finished.wait_for(lock, pollInterval);
      if (running == 0) break;
      lock.unlock();
      if (control.PumpAndCheckAbort()) stop = true;
      lock.lock();
    }
  }
  for (std::thread& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
  return !control.PumpAndCheckAbort();
}

}  // namespace lumetra
