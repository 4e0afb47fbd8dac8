// The kernel library's interaction integral against the per-sample transcription, side
// by side: one _impxx call with 100 real-axis samples, and one upper-limit search.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "tests/velkor/reference_kernels.h"
#include "velkor/velkor.h"

namespace {

// A 1.6 mm FR-4 board at 1 GHz; a 1 mm x 0.5 mm source element 3 mm and 1 mm away
// from a 1 mm testing segment.
constexpr double F = 1000.0, Er = 4.5, H = 1.6e-3;
constexpr double Dx = 3e-3, Dy = 1e-3, Ax = 0.5e-3, Ay = 0.25e-3, At = 0.5e-3;
const double K0 = 2.0 * std::numbers::pi * F / 300.0;
const double Dkr = 2.0 * K0;
const double Krmax = Er * K0 + 99.0 * Dkr;  // samples er k0, er k0 + dkr, ..., 100 in all

std::complex<double> optimised() {
  double re, im;
  _impxx(F, Er, H, Dx, Dy, Ax, Ay, At, Krmax, Dkr, &re, &im);
  return {re, im};
}

std::complex<double> reference() {
  return velkor_reference::impedance(velkor_reference::Coupling::xx, F, Er, H, Dx, Dy, Ax, Ay, At,
                                     Krmax, Dkr);
}

// Both benchmarks refuse to report a time for a result that disagrees.
bool results_agree() {
  const std::complex<double> expected = reference();
  return std::abs(optimised() - expected) <= 1e-10 * std::abs(expected);
}

void BM_impxx_optimised(benchmark::State& state) {
  if (!results_agree()) state.SkipWithError("optimised _impxx differs from the reference");
  for (auto _ : state) benchmark::DoNotOptimize(optimised());
}
BENCHMARK(BM_impxx_optimised)->Unit(benchmark::kMicrosecond);

void BM_impxx_reference(benchmark::State& state) {
  if (!results_agree()) state.SkipWithError("optimised _impxx differs from the reference");
  for (auto _ : state) benchmark::DoNotOptimize(reference());
}
BENCHMARK(BM_impxx_reference)->Unit(benchmark::kMicrosecond);

void BM_maxkr_optimised(benchmark::State& state) {
  if (_maxkr(F, Er, H, Ax, 0.01) != velkor_reference::max_kr(F, Er, H, Ax, 0.01))
    state.SkipWithError("optimised _maxkr differs from the reference");
  for (auto _ : state) benchmark::DoNotOptimize(_maxkr(F, Er, H, Ax, 0.01));
}
BENCHMARK(BM_maxkr_optimised)->Unit(benchmark::kMicrosecond);

void BM_maxkr_reference(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(velkor_reference::max_kr(F, Er, H, Ax, 0.01));
}
BENCHMARK(BM_maxkr_reference)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
