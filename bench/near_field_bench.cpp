// The near field of a 1000-element layout on a 50 x 50 x 5 grid (12500 points, one
// frequency), as computed (each frequency's currents read once and kept), and by
// the rescanning way of fetching them anew from the current files for every point
// and source group. Both must write the same bytes.
//
// The layout: 500 Jx and 500 Jy elements of 1 mm on a 25 x 20 mm patch over a
// ground plane 1.6 mm down, with 20 ground points along its edges, currents of
// varying amplitude and phase.
#include <benchmark/benchmark.h>

#include <cmath>

#include "fields/near_field.h"
#include "fields/result_files.h"
#include "model/file_io.h"
#include "model/project_files.h"
#include "solver/physical_constants.h"
#include "tests/fields/near_field_fixtures.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

constexpr double Frequency = 900.0;
constexpr double HeightMm = 1.6;

void WriteLayout(const std::filesystem::path& pro) {
  testing::WriteProject(pro, "1.6");
  std::vector<std::vector<double>> jx, jy, zzx, zzy;
  for (int i = 0; i < 500; ++i) {
    const double x = 10 + (i % 25), y = 10 + (i / 25);
    const double a = 0.01 * (1 + i % 7), phase = 0.013 * i;
    jx.push_back({x + 0.5, y, 1, 1, a * std::cos(phase), a * std::sin(phase)});
    jy.push_back({x, y + 0.5, 1, 1, -a * std::sin(phase), a * std::cos(phase)});
  }
  for (int i = 0; i < 10; ++i) {
    zzx.push_back({10 + (i % 2) * 25.0, 10.5 + i, i % 2 ? -0.5 : 0.5, 1, HeightMm, 1e-3 * i, 2e-3});
    zzy.push_back(
        {10.5 + 2 * i, 10 + (i % 2) * 20.0, 1, i % 2 ? -0.5 : 0.5, HeightMm, 3e-3, -1e-3 * i});
  }
  testing::WriteBytes(ProjectFileWithExtension(pro, ".XXX"),
                      testing::ResultBlockText(Frequency, jx));
  testing::WriteBytes(ProjectFileWithExtension(pro, ".YYY"),
                      testing::ResultBlockText(Frequency, jy));
  testing::WriteBytes(ProjectFileWithExtension(pro, ".ZZX"),
                      testing::ResultBlockText(Frequency, zzx));
  testing::WriteBytes(ProjectFileWithExtension(pro, ".ZZY"),
                      testing::ResultBlockText(Frequency, zzy));
}

// 50 x 50 points 5 mm apart over and around the patch, at 5 heights.
NearFieldGridTexts Grid() {
  NearFieldGridTexts t;
  t.XStart = "-87.5", t.XStop = "160", t.XStep = "5";
  t.YStart = "-87.5", t.YStop = "160", t.YStep = "5";
  t.ZStart = "1", t.ZStop = "21", t.ZStep = "5";
  return t;
}

// The source groups fetched from the files anew for every point and group.
bool RescanningNearField(const std::filesystem::path& pro, const NearFieldGrid& g, double k,
                         UserInterface& ui) {
  ResultFileStream nfe(ProjectFileWithExtension(pro, ".NFE"), true);
  ResultFileStream nfh(ProjectFileWithExtension(pro, ".NFH"), true);
  std::string header;
  WriteResultHeader(header, Frequency, CountNearFieldPoints(g));
  nfe.Write(header);
  nfh.Write(header);
  const double height = HeightMm * MillimetreToMetre;
  const auto file = [&](const char* extension) {
    return CurrentFileText::Read(ProjectFileWithExtension(pro, extension));
  };
  bool tooClose = false;
  double x = g.XStart * MillimetreToMetre;
  do {
    double y = g.YStart * MillimetreToMetre;
    do {
      double z = g.ZStart * MillimetreToMetre;
      do {
        FieldSample s;
        for (int group = 0; group < SourceGroupCount; ++group) {
          const SourceGroup which = static_cast<SourceGroup>(group);
          CurrentFileSet files;
          if (which == SourceGroup::JxElements) files.Xxx = file(".XXX");
          if (which == SourceGroup::JyElements) files.Yyy = file(".YYY");
          if (which == SourceGroup::ZzxHorizontal || which == SourceGroup::Vertical)
            files.Zzx = file(".ZZX");
          if (which == SourceGroup::ZzyHorizontal || which == SourceGroup::Vertical)
            files.Zzy = file(".ZZY");
          for (const Dipole& d : ReadSourceGroup(files, which, Frequency, height))
            AddDipoleField(d, x, y, z, k, s, tooClose);
          if (ui.PumpEventsAndCheckAbort()) return false;
        }
        nfe.Write(NearFieldLine(x * 1000, y * 1000, z * 1000, s.Ex, s.Ey, s.Ez));
        nfh.Write(NearFieldLine(x * 1000, y * 1000, z * 1000, s.Hx, s.Hy, s.Hz));
        z += g.ZStep * MillimetreToMetre;
      } while (z <= g.ZStop * MillimetreToMetre);
      y += g.YStep * MillimetreToMetre;
    } while (y <= g.YStop * MillimetreToMetre);
    x += g.XStep * MillimetreToMetre;
  } while (x <= g.XStop * MillimetreToMetre);
  nfe.Close();
  nfh.Close();
  return true;
}

void BM_NearFieldReadOnce(benchmark::State& state) {
  testing::TempDir dir;
  const auto pro = dir / "patch.PRO";
  WriteLayout(pro);
  for (auto _ : state) {
    testing::RecordingUi ui;
    const NearFieldRunResult result = RunNearField(pro, Grid(), Eps0, ui);
    if (result.Outcome != NearFieldRunOutcome::Completed) state.SkipWithError("near field failed");
    state.counters["points"] = static_cast<double>(result.Points);
  }
}

void BM_NearFieldRescanning(benchmark::State& state) {
  testing::TempDir dir;
  const auto pro = dir / "patch.PRO";
  WriteLayout(pro);
  testing::RecordingUi ui;
  RunNearField(pro, Grid(), Eps0, ui);
  const std::string once =
      testing::ReadBytes(dir / "patch.NFE") + testing::ReadBytes(dir / "patch.NFH");
  NearFieldGrid grid;
  std::optional<NearFieldEntry> failed;
  CheckNearFieldGrid(Grid(), HeightMm, ui, grid, failed);
  for (auto _ : state) {
    if (!RescanningNearField(pro, grid, NearFieldWavenumber(Frequency, Eps0), ui))
      state.SkipWithError("aborted");
  }
  const std::string rescanned =
      testing::ReadBytes(dir / "patch.NFE") + testing::ReadBytes(dir / "patch.NFH");
  state.counters["identical_output"] = rescanned == once ? 1 : 0;
  if (rescanned != once) state.SkipWithError("the two ways wrote different files");
}

BENCHMARK(BM_NearFieldReadOnce)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_NearFieldRescanning)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
