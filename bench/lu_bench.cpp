// The dense solver on a 2000-unknown coupled system, side by side with LAPACK's
// zgesv (OpenBLAS) on the same matrix and with the plain Crout loop.
//
// Also reported: the longest stretch between two polls of the user interface
// during the factorisation, which bounds how late Abort takes effect.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

#include "bench/block_system_setup.h"
#include "solver/dense_lu.h"
#include "tests/solver/crout_reference.h"

extern "C" void zgesv_(const int* n, const int* nrhs, void* a, const int* lda, int* ipiv, void* b,
                       const int* ldb, int* info);

namespace lumetra {
namespace {

constexpr int JxUnknowns = 1100, JyUnknowns = 900;  // 2000 in all

// A diagonally weighted random system: well conditioned, like a moment matrix
// with its strong self terms.
std::vector<Complex> WholeMatrix(int n) {
  std::mt19937 random(42);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<Complex> a(static_cast<std::size_t>(n) * n);
  for (Complex& z : a) z = {u(random), u(random)};
  for (int i = 0; i < n; ++i) a[static_cast<std::size_t>(i) * n + i].Re += 20.0;
  return a;
}

std::vector<Complex> RightHandSide(int n) {
  std::vector<Complex> b(n);
  for (int i = 0; i < n; ++i) b[i] = {std::cos(i * 0.1), std::sin(i * 0.1)};
  return b;
}

// Records the time between polls; never aborts.
class PollTimer : public UserInterface {
public:
  void ShowMessage(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return true; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::Yes; }
  void SetStatusText(StatusPanel, std::string_view) override { last_ = Clock::now(); }
  void SetBusy(bool) override {}
  void SetProgress(int, int) override {}
  bool PumpEventsAndCheckAbort() override {
    const auto now = Clock::now();
    longestGap = std::max(longestGap, std::chrono::duration<double>(now - last_).count());
    last_ = now;
    return false;
  }
  double longestGap = 0;

private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point last_ = Clock::now();
};

void BM_BlockLUSolve(benchmark::State& state) {
  const int p = JxUnknowns, q = JyUnknowns, n = p + q;
  const std::vector<Complex> whole = WholeMatrix(n), rhs = RightHandSide(n);
  PollTimer ui;
  double longestGap = 0;
  for (auto _ : state) {
    state.PauseTiming();
    PreparedBlockSystem s(p, q, whole);
    std::copy(rhs.begin(), rhs.begin() + p, s.B1.Data());
    std::copy(rhs.begin() + p, rhs.end(), s.B2.Data());
    ComputationControl control(ui);
    state.ResumeTiming();
    BlockLUSolve(s.System.A, s.System.Bm, s.System.C, s.System.D, s.X1, s.X2, s.B1, s.B2, control,
                 s.Failed);
    longestGap = std::max(longestGap, ui.longestGap);
    if (s.Failed) state.SkipWithError("LU failed");
  }
  state.counters["longest_poll_gap_ms"] = longestGap * 1e3;
}

void BM_LapackZgesv(benchmark::State& state) {
  const int n = JxUnknowns + JyUnknowns, one = 1;
  const std::vector<Complex> whole = WholeMatrix(n), rhs = RightHandSide(n);
  std::vector<int> pivots(n);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<Complex> a = whole, b = rhs;
    state.ResumeTiming();
    int info = 0;
    zgesv_(&n, &one, a.data(), &n, pivots.data(), b.data(), &n, &info);
    if (info != 0) state.SkipWithError("zgesv failed");
  }
}

void BM_CroutLoop(benchmark::State& state) {
  const int n = JxUnknowns + JyUnknowns;
  const std::vector<Complex> whole = WholeMatrix(n), rhs = RightHandSide(n);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::vector<Complex>> rows(n, std::vector<Complex>(n));
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) rows[i][j] = whole[static_cast<std::size_t>(j) * n + i];
    state.ResumeTiming();
    benchmark::DoNotOptimize(testing::CroutSolve(std::move(rows), rhs));
  }
}

BENCHMARK(BM_BlockLUSolve)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_LapackZgesv)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_CroutLoop)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
