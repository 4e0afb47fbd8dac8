// The test-site scan of a 1000-dipole board (500 along x, 500 along y on a
// 25 x 20 mm patch, each with its image 1.6 mm under a ground plane: 2000
// radiators) at 300 MHz, 1 GHz and 6 GHz, on both sites; and the dipole sum at one
// point against the near-field kernels called dipole by dipole.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "fields/near_field_kernels.h"
#include "studies/emission/test_site.h"

namespace lumetra::emission {
namespace {

std::vector<PointDipole> Board() {
  std::vector<PointDipole> board;
  for (int i = 0; i < 1000; ++i) {
    const double x = 0.001 * (i % 25), y = 0.001 * ((i / 2) % 20);
    const double a = 0.01 * (1 + i % 7), phase = 0.013 * i;
    const auto axis = i % 2 ? DipoleAxis::Y : DipoleAxis::X;
    const std::complex<double> m = std::polar(a * 1e-6, phase);
    board.push_back({x, y, 0.0, axis, m});
    board.push_back({x, y, -0.0032, axis, -m});
  }
  return board;
}

double K0(double mhz) { return 2.0 * std::numbers::pi * mhz * 1e6 / 299792458.0; }

void BM_ScanSite(benchmark::State& state) {
  const std::vector<PointDipole> board = Board();
  SiteSettings site;
  site.Kind = state.range(0) ? SiteKind::SemiAnechoic : SiteKind::Free;
  site.BoardCentreX = 0.0125;
  site.BoardCentreY = 0.01;
  site.UpperHemisphereOnly = true;
  const double k = K0(static_cast<double>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(ScanSite(board, k, site));
  state.SetLabel(SiteKindName(site.Kind));
}
BENCHMARK(BM_ScanSite)
    ->ArgsProduct({{0, 1}, {300, 1000, 6000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_DipoleSum(benchmark::State& state) {
  const std::vector<PointDipole> board = Board();
  double x = 1.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ElectricFieldAt(board, x, 2.0, 0.5, K0(1000.0)));
    x += 1e-6;
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(board.size()));
}
BENCHMARK(BM_DipoleSum);

void BM_NearFieldKernels(benchmark::State& state) {
  std::vector<Dipole> dipoles;
  for (const PointDipole& p : Board())
    dipoles.push_back({p.X, p.Y, p.Z, p.Axis, {p.Moment.real(), p.Moment.imag()}});
  double x = 1.0;
  for (auto _ : state) {
    FieldSample sample;
    bool tooClose = false;
    for (const Dipole& d : dipoles) AddDipoleField(d, x, 2.0, 0.5, K0(1000.0), sample, tooClose);
    benchmark::DoNotOptimize(sample);
    x += 1e-6;
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(dipoles.size()));
}
BENCHMARK(BM_NearFieldKernels);

}  // namespace
}  // namespace lumetra::emission
BENCHMARK_MAIN();
