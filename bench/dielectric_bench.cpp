// The rigorous slab correction of a 1000-unknown coupled microstrip layout, from
// the table of distinct kernel values against one kernel call per entry, side by
// side and both on all cores; the per-entry run also checks that the two agree.
//
// The layout: five horizontal traces 100 mm long and five vertical traces 102 mm
// long crossing them, 1 mm wide, 20 mm apart, on a grid of 1 mm square cells (495 Jx
// and 505 Jy elements), on 1.6 mm FR-4 (eps_r 4.4) at 1 GHz, with the default
// spectral sampling (100 points, 1 %). One call per entry is a million kernel
// calls, so that run is timed once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

#include "solver/dielectric_correction.h"
#include "solver/parallel_pieces.h"
#include "velkor/velkor.h"

namespace lumetra {
namespace {

constexpr double Cell = 0.001;  // m
constexpr int Traces = 5, Pitch = 20, HorizontalCells = 100, VerticalCells = 102;

ElementLists Grid() {
  ElementLists lists;
  std::map<std::pair<int, int>, std::int32_t> charges;
  const auto charge = [&](int i, int j) {
    const auto [at, added] = charges.try_emplace({i, j}, static_cast<std::int32_t>(lists.Charges.size() + 1));
    if (added) lists.Charges.push_back({(i + 0.5) * Cell, (j + 0.5) * Cell, Cell, Cell});
    return at->second;
  };
  for (int t = 0; t < Traces; ++t) {
    const int row = Pitch / 2 + t * Pitch;
    for (int i = 0; i + 1 < HorizontalCells; ++i)
      lists.Jx.push_back({(i + 1) * Cell, (row + 0.5) * Cell, Cell, Cell, charge(i, row), charge(i + 1, row)});
  }
  for (int t = 0; t < Traces; ++t) {
    const int column = Pitch / 2 + t * Pitch;
    for (int j = 0; j + 1 < VerticalCells; ++j)
      lists.Jy.push_back({(column + 0.5) * Cell, (j + 1) * Cell, Cell, Cell, charge(column, j), charge(column, j + 1)});
  }
  DeriveLayoutProperties(lists);
  return lists;
}

const ElementLists& Layout() {
  static const ElementLists layout = Grid();
  return layout;
}

SlabCorrectionRequest Request() {
  const double f = 1000, er = 4.4, h = 0.0016;
  return {Layout(), f, er, h, SpectralIntegrationFor(f, er, h, Cell / 2, IntegrationSettings{})};
}

class Silent : public UserInterface {
public:
  void ShowMessage(std::string_view) override {}
  bool AskYesNo(std::string_view) override { return true; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::Yes; }
  void SetStatusText(StatusPanel, std::string_view) override {}
  void SetBusy(bool) override {}
  void SetProgress(int, int) override {}
  bool PumpEventsAndCheckAbort() override { return false; }
};

struct System {
  System() {
    bool failed = false;
    blocks.Create(Layout().NX(), Layout().NY(), failed);
    if (failed) throw std::runtime_error("matrices could not be created");
  }
  BlockSystem blocks;
  SystemMatrices View() { return {&blocks.A, &blocks.Bm, &blocks.C, &blocks.D}; }
};

// One call per entry, signed offsets, a few entries per piece on every core.
void PerEntry(const SlabCorrectionRequest& r, SystemMatrices& z, ComputationControl& control) {
  using Kernel = void (*)(double, double, double, double, double, double, double, double, double,
                          double, double*, double*);
  struct Block {
    ComplexMatrix* Z;
    Kernel K;
    const std::vector<CurrentCell>* Testing;
    const std::vector<CurrentCell>* Sources;
    bool AlongX;
  };
  const ElementLists& e = r.Elements;
  const Block blocks[] = {{z.Zxx, _impxx, &e.Jx, &e.Jx, true},
                          {z.Zxy, _impxy, &e.Jx, &e.Jy, true},
                          {z.Zyx, _impyx, &e.Jy, &e.Jx, false},
                          {z.Zyy, _impyy, &e.Jy, &e.Jy, false}};
  constexpr std::int64_t perPiece = 16;
  std::vector<std::pair<int, std::int64_t>> pieces;  // block, first entry
  for (int b = 0; b < 4; ++b) {
    const auto entries = static_cast<std::int64_t>(blocks[b].Testing->size() * blocks[b].Sources->size());
    for (std::int64_t first = 0; first < entries; first += perPiece) pieces.push_back({b, first});
  }
  RunPiecesWhilePolling(
      static_cast<std::int64_t>(pieces.size()), FillWorkerCount(),
      [&](std::int64_t piece, int) {
        const auto [b, first] = pieces[static_cast<std::size_t>(piece)];
        const Block& block = blocks[b];
        const auto rows = static_cast<std::int64_t>(block.Testing->size());
        const std::int64_t end = std::min(first + perPiece, rows * static_cast<std::int64_t>(block.Sources->size()));
        for (std::int64_t entry = first; entry < end; ++entry) {
          const CurrentCell& t = (*block.Testing)[static_cast<std::size_t>(entry % rows)];
          const CurrentCell& s = (*block.Sources)[static_cast<std::size_t>(entry / rows)];
          Complex v;
          block.K(r.FrequencyMHz, r.EpsR, r.Height, s.X - t.X, s.Y - t.Y, s.Dx / 2, s.Dy / 2,
                  block.AlongX ? t.Dx / 2 : t.Dy / 2, r.Spectral.MaxKr, r.Spectral.Step, &v.Re, &v.Im);
          (*block.Z)(static_cast<std::int32_t>(entry % rows + 1), static_cast<std::int32_t>(entry / rows + 1)) = v;
        }
      },
      control);
}

// The table's result, kept for the comparison.
const System& TableResult() {
  static System* system = [] {
    auto* s = new System;
    Silent ui;
    ComputationControl control(ui);
    SystemMatrices view = s->View();
    AddSlabCorrection(Request(), view, control);
    return s;
  }();
  return *system;
}

void BM_TableCorrection(benchmark::State& state) {
  const SlabCorrectionRequest request = Request();
  SlabCorrectionCount count;
  for (auto _ : state) {
    state.PauseTiming();
    System system;
    Silent ui;
    ComputationControl control(ui);
    SystemMatrices view = system.View();
    state.ResumeTiming();
    AddSlabCorrection(request, view, control, &count);
  }
  state.counters["unknowns"] = Layout().NX() + Layout().NY();
  state.counters["entries"] = static_cast<double>(count.Entries);
  state.counters["kernel_calls"] = static_cast<double>(count.KernelCalls);
  state.counters["cores"] = FillWorkerCount();
}

void BM_PerEntryCorrection(benchmark::State& state) {
  const SlabCorrectionRequest request = Request();
  System system;
  for (auto _ : state) {
    Silent ui;
    ComputationControl control(ui);
    SystemMatrices view = system.View();
    PerEntry(request, view, control);
  }
  // Largest difference over the largest entry of each block, and entry by entry in
  // the co-polar blocks.
  const System& table = TableResult();
  double worstBlock = 0, worstEntry = 0;
  const ComplexMatrix* pairs[][2] = {{&system.blocks.A, &table.blocks.A},
                                     {&system.blocks.Bm, &table.blocks.Bm},
                                     {&system.blocks.C, &table.blocks.C},
                                     {&system.blocks.D, &table.blocks.D}};
  for (int b = 0; b < 4; ++b) {
    const ComplexMatrix& a = *pairs[b][0];
    const ComplexMatrix& t = *pairs[b][1];
    double largest = 0, worst = 0;
    for (std::int32_t j = 1; j <= a.Cols(); ++j)
      for (std::int32_t i = 1; i <= a.Rows(); ++i) {
        const double d = std::hypot(a(i, j).Re - t(i, j).Re, a(i, j).Im - t(i, j).Im);
        const double size = std::hypot(a(i, j).Re, a(i, j).Im);
        largest = std::max(largest, size);
        worst = std::max(worst, d);
        if (b == 0 || b == 3) worstEntry = std::max(worstEntry, d / size);
      }
    worstBlock = std::max(worstBlock, worst / largest);
  }
  // The block measure is the criterion: a far pair's tiny co-polar entry carries the
  // quadrature's rounding (phases of hundreds of radians) at ~1e-10 of itself.
  if (!(worstBlock <= 1e-10))
    state.SkipWithError("the table's correction differs from one call per entry");
  state.counters["max_rel_diff_block"] = worstBlock;
  state.counters["max_rel_diff_copolar_entry"] = worstEntry;
  state.counters["kernel_calls"] = static_cast<double>(Layout().NX() + Layout().NY()) *
                                   (Layout().NX() + Layout().NY());
  state.counters["cores"] = FillWorkerCount();
}

BENCHMARK(BM_TableCorrection)->Unit(benchmark::kSecond)->MinTime(5.0)->UseRealTime();
BENCHMARK(BM_PerEntryCorrection)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
