#include "studies/emission/concurrent_lines.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>

#include "solver/dense_lu.h"
#include "solver/parallel_pieces.h"
#include "studies/computation_driver.h"
#include "studies/concurrent_points.h"
#include "studies/deferred_user_interface.h"
#include "studies/emission/emission_line.h"
#include "studies/point_record.h"

namespace lumetra::emission {

namespace {

// What a worker thread solves its lines with: a private copy of the project and a
// user interface that keeps the messages for the commit.
struct LineWorker {
  LineWorker(const Project& project, const ComputationSettings& solver,
             const std::atomic<bool>& stop)
      : Ui(stop), Control(Ui), Workspace(project, solver, Control) {}
  DeferredUserInterface Ui;
  ComputationControl Control;
  EmissionWorkspace Workspace;
};

// The workers not solving a line just now; a thread takes one for each line and
// gives it back, so there are never more copies than lines in flight.
class IdleWorkers {
public:
  std::unique_ptr<LineWorker> Take() {
    std::lock_guard lock(mutex_);
    if (idle_.empty()) return nullptr;
    std::unique_ptr<LineWorker> worker = std::move(idle_.back());
    idle_.pop_back();
    return worker;
  }
  void Give(std::unique_ptr<LineWorker> worker) {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(worker));
  }

private:
  std::mutex mutex_;
  std::vector<std::unique_ptr<LineWorker>> idle_;
};

}  // namespace

bool SolveLinesConcurrently(const LineSweep& sweep, std::size_t first, int jobs,
                            ComputationControl& control, const LineCommits& commits) {
  PointExchange* exchange = sweep.Exchange;
  const bool commitsHere = !exchange || exchange->Commits();
  const std::size_t count = sweep.Frequencies.size();
  std::vector<PointRecord> records(count);
  std::vector<std::exception_ptr> failures(count);
  const int workersPerLine = std::max(1, FillWorkerCount() / std::max(jobs, 1));
  const BlasThreadLimit blas(workersPerLine);
  IdleWorkers idle;
  bool ended = false;

  ConcurrentPoints points;
  points.Count = count;
  points.Jobs = jobs;
  points.SolvedHere = [&](std::size_t index) {
    return index >= first && (!exchange || exchange->Solves(index));
  };
  points.CommittedHere = [&](std::size_t index) {
    return commitsHere ? index >= first : points.SolvedHere(index);
  };
  if (exchange) {
    if (!commitsHere) points.StopRequested = [exchange] { return exchange->StopRequested(); };
    points.Arrived = [&](std::size_t index) {
      return ReceivePointRecord(*exchange, index, records[index]);
    };
  }
  points.Solve = [&](std::size_t index, const std::atomic<bool>& stop) {
    PointRecord& record = records[index];
    const WorkerLimit limit(workersPerLine);
    std::unique_ptr<LineWorker> worker = idle.Take();
    try {
      if (!worker) worker = std::make_unique<LineWorker>(sweep.Layout, sweep.Solver, stop);
      worker->Control.AbortRequested = false;
      EmissionLine line;
      const LineOutcome outcome = SolveEmissionLine(worker->Workspace, sweep.Signals, sweep.Site,
                                                    sweep.Frequencies[index], line);
      record.Solved = outcome == LineOutcome::Solved;
      record.Stopped = outcome == LineOutcome::Stopped;
      if (record.Solved) record.Kept = EncodeEmissionLine(line);
    } catch (...) {
      failures[index] = std::current_exception();
      record.Stopped = true;
    }
    if (worker) {
      record.Messages = worker->Ui.TakeMessages();
      idle.Give(std::move(worker));
    }
  };
  points.Commit = [&](std::size_t index) {
    PointRecord& record = records[index];
    if (!commitsHere) {  // to rank 0, which shows and keeps it in its turn
      if (failures[index]) record.Failure = FailureText(failures[index]);
      exchange->Send(index, EncodePointRecord(record));
      const bool stopped = record.Stopped || !record.Failure.empty();
      record = PointRecord{};
      return !stopped;
    }
    ShowDeferredMessages(record.Messages, commits.Shown);
    if (failures[index]) std::rethrow_exception(failures[index]);
    std::optional<EmissionLine> line;
    if (record.Failure.empty() && record.Solved) {
      try {
        line = DecodeEmissionLine(record.Kept);
      } catch (const std::exception& error) {
        record.Failure = error.what();
      }
    }
    if (!record.Failure.empty()) {
      const std::size_t processes = exchange ? static_cast<std::size_t>(exchange->Size()) : 1;
      const auto rank = static_cast<int>(index % processes);
      commits.Shown.ShowMessage(
          ProcessFailedMessage(rank, sweep.Frequencies[index], record.Failure));
      ended = true;
      return false;
    }
    if (record.Stopped) {
      ended = true;
      return false;
    }
    if (line) commits.Keep(std::move(*line));
    record = PointRecord{};
    return true;
  };
  points.Waiting = [&](std::size_t index) {
    if (commits.Waiting) commits.Waiting(index);
  };
  RunPointsConcurrently(points, control);
  return !ended && !control.AbortRequested;
}

}  // namespace lumetra::emission
