// The matrix fill of a 2000-unknown coupled layout, side by side with the LU
// solution of the same system.
//
// The layout is a 32 x 32 plane of 2 mm square cells (992 Jx and 992 Jy
// elements, 1984 unknowns), in free space and over a ground plane 1.6 mm below,
// at 1 GHz (most pairs nearer than 1/k: the 8 x 8 rule) and at 100 MHz (all of
// them). Reported with each fill: the longest time the user-interface thread went
// without polling for events and Abort.
//
// Beside it, a layout without symmetry: two planes of different cell sizes, one
// above the other (1931 unknowns, free space, 1 GHz), whose fill and LU solve are
// timed one after the other in each iteration and reported as their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "solver/dense_lu.h"
#include "solver/interaction_fill.h"
#include "solver/physical_constants.h"

namespace lumetra {
namespace {

constexpr int CellsPerSide = 32;
constexpr double CellSize = 0.002;  // m

ElementLists Plane() {
  ElementLists lists;
  const int n = CellsPerSide;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i)
      lists.Charges.push_back({(i + 0.5) * CellSize, (j + 0.5) * CellSize, CellSize, CellSize});
  for (int j = 0; j < n; ++j)
    for (int i = 0; i + 1 < n; ++i)
      lists.Jx.push_back({(i + 1) * CellSize, (j + 0.5) * CellSize, CellSize, CellSize, j * n + i + 1, j * n + i + 2});
  for (int j = 0; j + 1 < n; ++j)
    for (int i = 0; i < n; ++i)
      lists.Jy.push_back({(i + 0.5) * CellSize, (j + 1) * CellSize, CellSize, CellSize, j * n + i + 1, (j + 1) * n + i + 1});
  DeriveLayoutProperties(lists);
  return lists;
}

const ElementLists& Layout() {
  static const ElementLists layout = Plane();
  return layout;
}

// The same plane with the symmetry flags cleared: every entry computed.
const ElementLists& LayoutWithoutSymmetry() {
  static const ElementLists layout = [] {
    ElementLists lists = Plane();
    lists.SymX = lists.SymY = lists.SymAll = false;
    return lists;
  }();
  return layout;
}

FillRequest Request(double megahertz, bool image, bool symmetric = true) {
  return {symmetric ? Layout() : LayoutWithoutSymmetry(),
          MakeFrequencyConstants(megahertz, Eps0, 1.0, image, 0.0016), image};
}

// Records the time between polls; never aborts.
class PollTimer : public UserInterface {
public:
  void ShowMessage(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return true; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::Yes; }
  void SetStatusText(StatusPanel, std::string_view) override {}
  void SetBusy(bool) override {}
  void SetProgress(int, int) override {}
  bool PumpEventsAndCheckAbort() override {
    const auto now = Clock::now();
    if (started_) longestGap = std::max(longestGap, std::chrono::duration<double>(now - last_).count());
    if (!started_) first_ = now;
    started_ = true;
    last_ = now;
    ++polls;
    const bool abort = abortAfter > 0 && std::chrono::duration<double>(now - first_).count() >= abortAfter;
    if (abort && !aborted_) abortedAt = now;
    aborted_ = aborted_ || abort;
    return aborted_;
  }
  void Restart() { started_ = false, aborted_ = false, polls = 0; }
  double longestGap = 0;
  int polls = 0;
  double abortAfter = 0;  // s: Abort is pressed at the first poll this long after the first (0: never)
  std::chrono::steady_clock::time_point abortedAt{};

private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point first_{}, last_{};
  bool started_ = false, aborted_ = false;
};

struct System {
  BlockSystem blocks;
  SystemMatrices View() { return {&blocks.A, &blocks.Bm, &blocks.C, &blocks.D}; }
};

void Create(System& s) {
  bool failed = false;
  s.blocks.Create(Layout().NX(), Layout().NY(), failed);
  if (failed) throw std::runtime_error("matrices could not be created");
}

void BM_Fill(benchmark::State& state) {
  const FillRequest request =
      Request(static_cast<double>(state.range(0)), state.range(1) != 0, state.range(2) != 0);
  PollTimer ui;
  System system;
  Create(system);
  for (auto _ : state) {
    ComputationControl control(ui);
    ui.Restart();
    SystemMatrices view = system.View();
    if (!FillInteractionMatrices(request, view, control)) state.SkipWithError("fill aborted");
  }
  state.counters["longest_poll_gap_ms"] = ui.longestGap * 1e3;
  state.counters["unknowns"] = Layout().NX() + Layout().NY();
}

// The LU solution of the system the fill produces (filled once, copied in).
void BM_BlockLUSolve(benchmark::State& state) {
  const FillRequest request = Request(static_cast<double>(state.range(0)), state.range(1) != 0);
  PollTimer ui;
  System filled;
  Create(filled);
  {
    ComputationControl control(ui);
    SystemMatrices view = filled.View();
    FillInteractionMatrices(request, view, control);
  }
  const std::int32_t p = Layout().NX(), q = Layout().NY(), n = p + q;
  const std::vector<Complex> whole(filled.blocks.A.Data(),
                                   filled.blocks.A.Data() + static_cast<std::size_t>(n) * n);
  double longestGap = 0;
  for (auto _ : state) {
    state.PauseTiming();
    System system;
    Create(system);
    std::copy(whole.begin(), whole.end(), system.blocks.A.Data());
    ComplexVector x1, x2, b1, b2;
    bool failed = false;
    CreateVector(x1, p, failed), CreateVector(x2, q, failed);
    CreateVector(b1, p, failed), CreateVector(b2, q, failed);
    b1(p / 2) = {1.0, 0.0};  // a 1 V source in the middle of the plane
    ComputationControl control(ui);
    ui.Restart();
    ui.longestGap = 0;
    state.ResumeTiming();
    BlockLUSolve(system.blocks.A, system.blocks.Bm, system.blocks.C, system.blocks.D, x1, x2, b1, b2,
                 control, failed);
    longestGap = std::max(longestGap, ui.longestGap);
    if (failed) state.SkipWithError("LU failed");
  }
  state.counters["longest_poll_gap_ms"] = longestGap * 1e3;
}

// Abort pressed at the first poll 20 ms into the fill (among the entries): the time
// from that poll until the fill has returned.
void BM_AbortLatency(benchmark::State& state) {
  const FillRequest request = Request(100.0, true, false);
  PollTimer ui;
  System system;
  Create(system);
  double longest = 0;
  for (auto _ : state) {
    ComputationControl control(ui);
    ui.Restart();
    ui.abortAfter = 0.020;
    SystemMatrices view = system.View();
    const bool completed = FillInteractionMatrices(request, view, control);
    const auto returned = std::chrono::steady_clock::now();
    if (completed) state.SkipWithError("fill finished before the abort");
    longest = std::max(longest, std::chrono::duration<double>(returned - ui.abortedAt).count());
  }
  state.counters["longest_abort_latency_ms"] = longest * 1e3;
}

// Arguments: frequency in MHz, ground plane (0 free space, 1 image terms), symmetry
// flags (1 as the layout has them, 0 cleared).
// A plane of 36 x 14 cells of 2 mm under one of 30 x 17 cells of 2.4 mm (both 72 mm
// wide): offsets between the planes repeat only on a 0.2 mm lattice, and every
// pair of cells has one of two sizes.
ElementLists TwoCellSizes() {
  ElementLists lists;
  const auto addPlane = [&lists](int nx, int ny, double size, double y0) {
    const auto base = static_cast<std::int32_t>(lists.Charges.size());
    for (int j = 0; j < ny; ++j)
      for (int i = 0; i < nx; ++i)
        lists.Charges.push_back({(i + 0.5) * size, y0 + (j + 0.5) * size, size, size});
    for (int j = 0; j < ny; ++j)
      for (int i = 0; i + 1 < nx; ++i)
        lists.Jx.push_back({(i + 1) * size, y0 + (j + 0.5) * size, size, size, base + j * nx + i + 1,
                            base + j * nx + i + 2});
    for (int j = 0; j + 1 < ny; ++j)
      for (int i = 0; i < nx; ++i)
        lists.Jy.push_back({(i + 0.5) * size, y0 + (j + 1) * size, size, size, base + j * nx + i + 1,
                            base + (j + 1) * nx + i + 1});
  };
  addPlane(36, 14, 0.002, 0.0);
  addPlane(30, 17, 0.0024, 0.028);
  DeriveLayoutProperties(lists);
  return lists;
}

void BM_FillAgainstSolveTwoCellSizes(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const ElementLists layout = TwoCellSizes();
  const FillRequest request{layout, MakeFrequencyConstants(1000.0, Eps0, 1.0, false, 0.0), false};
  const std::int32_t p = layout.NX(), q = layout.NY();
  PollTimer ui;
  double fill = 0, solve = 0;
  int runs = 0;
  for (auto _ : state) {
    BlockSystem blocks;
    bool failed = false;
    blocks.Create(p, q, failed);
    ComplexVector x1, x2, b1, b2;
    CreateVector(x1, p, failed), CreateVector(x2, q, failed);
    CreateVector(b1, p, failed), CreateVector(b2, q, failed);
    b1(p / 2) = {1.0, 0.0};
    ComputationControl control(ui);
    SystemMatrices view{&blocks.A, &blocks.Bm, &blocks.C, &blocks.D};
    const auto start = Clock::now();
    if (!FillInteractionMatrices(request, view, control)) state.SkipWithError("fill aborted");
    const auto filled = Clock::now();
    BlockLUSolve(blocks.A, blocks.Bm, blocks.C, blocks.D, x1, x2, b1, b2, control, failed);
    const auto solved = Clock::now();
    if (failed) state.SkipWithError("LU failed");
    fill += std::chrono::duration<double>(filled - start).count();
    solve += std::chrono::duration<double>(solved - filled).count();
    ++runs;
  }
  state.counters["unknowns"] = p + q;
  state.counters["fill_ms"] = fill / runs * 1e3;
  state.counters["lu_ms"] = solve / runs * 1e3;
  state.counters["fill_over_lu"] = fill / solve;
}

BENCHMARK(BM_Fill)
    ->Args({1000, 0, 1})->Args({100, 0, 1})->Args({1000, 1, 1})->Args({100, 1, 1})
    ->Args({1000, 0, 0})->Args({1000, 1, 0})
    ->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FillAgainstSolveTwoCellSizes)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_AbortLatency)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_BlockLUSolve)->Args({1000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
