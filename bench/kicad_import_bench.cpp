// The largest demo board KiCad ships (video.kicad_pcb, about 8000 tracks): reading
// it, listing its nets, and importing a net from it. Skipped without kicad-demos.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "import/kicad_board.h"
#include "import/kicad_import.h"
#include "import/kicad_net_list.h"

namespace lumetra {
namespace {

const std::filesystem::path VideoBoard = "/usr/share/kicad/demos/video/video.kicad_pcb";

void ReadAndListNets(benchmark::State& state) {
  if (!std::filesystem::exists(VideoBoard)) return state.SkipWithError("kicad-demos not installed");
  std::size_t nets = 0;
  for (auto _ : state) {
    const KicadBoard board = ReadKicadBoard(VideoBoard);
    nets = SummariseNets(board).size();
    benchmark::DoNotOptimize(nets);
  }
  state.counters["nets"] = static_cast<double>(nets);
}
BENCHMARK(ReadAndListNets)->Unit(benchmark::kMillisecond);

// Read, then import the board's two longest signal nets on F.Cu together.
void ReadAndImport(benchmark::State& state) {
  if (!std::filesystem::exists(VideoBoard)) return state.SkipWithError("kicad-demos not installed");
  KicadImportOptions options;
  options.nets = {"/SYSRST-", "/ACCES_RAM-"};
  int segments = 0;
  for (auto _ : state) {
    const KicadBoard board = ReadKicadBoard(VideoBoard);
    const KicadImport imported = ImportKicadNets(board, options);
    segments = imported.report.segments;
    benchmark::DoNotOptimize(segments);
  }
  state.counters["segments"] = segments;
}
BENCHMARK(ReadAndImport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
