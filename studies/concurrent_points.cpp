#include "studies/concurrent_points.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace lumetra {

int SweepJobs(int requested, std::int32_t unknowns, std::size_t points, int cores) {
  const int most = static_cast<int>(std::clamp<std::size_t>(points, 1, 256));
  if (requested >= 1) return std::min(requested, most);
  if (unknowns > ConcurrentSweepUnknowns) return 1;
  return std::clamp(cores, 1, most);
}

std::size_t RunPointsConcurrently(const ConcurrentPoints& points, ComputationControl& control) {
  std::vector<std::size_t> solved, committing;
  for (std::size_t i = 0; i < points.Count; ++i) {
    if (!points.SolvedHere || points.SolvedHere(i)) solved.push_back(i);
    if (!points.CommittedHere || points.CommittedHere(i)) committing.push_back(i);
  }
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable finished;
  std::vector<char> done(points.Count, 0);

  auto worker = [&] {
    for (;;) {
      if (stop.load(std::memory_order_relaxed)) return;
      const std::size_t position = next.fetch_add(1);
      if (position >= solved.size()) return;
      points.Solve(solved[position], stop);
      std::lock_guard lock(mutex);
      done[solved[position]] = 1;
      finished.notify_one();
    }
  };
  const std::size_t jobs = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(points.Jobs, 1)),
                                                   1, std::max<std::size_t>(solved.size(), 1));
  std::vector<std::thread> threads;
  if (!solved.empty())
    for (std::size_t j = 0; j < jobs; ++j) threads.emplace_back(worker);

  std::size_t committed = 0;
  std::exception_ptr failure;  // from a commit: rethrown once the workers are joined
  try {
    constexpr auto pollInterval = std::chrono::milliseconds(5);
    for (const std::size_t index : committing) {
      if (points.Waiting) points.Waiting(index);
      const bool here = !points.SolvedHere || points.SolvedHere(index);
      bool ready = false, ended = false;
      while (!ready) {
        if (here) {
          std::unique_lock lock(mutex);
          ready = finished.wait_for(lock, pollInterval, [&] { return done[index] != 0; });
        } else {
          ready = points.Arrived(index);
          if (!ready) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (control.PumpAndCheckAbort() || (points.StopRequested && points.StopRequested())) {
          ended = true;
          break;
        }
      }
      if (ended || !points.Commit(index)) break;
      ++committed;
    }
  } catch (...) {
    failure = std::current_exception();
  }
  stop = true;
  for (std::thread& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
  return committed;
}

}  // namespace lumetra
