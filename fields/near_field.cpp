#include "fields/near_field.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <system_error>

#include "fields/far_field_recompute.h"
#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/number_format.h"
#include "model/stepped_range.h"
#include "model/project_files.h"
#include "model/project_lock.h"
#include "solver/physical_constants.h"

namespace lumetra {

namespace {

// A height at or below this (mm) means the project has no ground plane.
constexpr double NoGroundPlaneHeight = 1e-12;

// One axis of the grid in millimetres as typed: "from Start while not above Stop in
// steps of Step", visited at least once. The points are counted as integers and
// point i is Start + i Step, so 0 to 100 by 5 has its 21st column at 100 mm, which
// repeated addition in metres (20 x 0.005 > 0.1) would lose.
struct GridAxis {
  double Start, Stop, Step;

  GridAxis(double startMm, double stopMm, double stepMm)
      : Start(startMm), Stop(stopMm), Step(stepMm) {}

  // The points of the axis, no more than limit + 1.
  std::int64_t Count(std::int64_t limit) const {
    if (!(Step > 0.0)) return limit + 1;
    return std::max<std::int64_t>(1, SteppedPointCount(Start, Stop, Step, limit));
  }
  double PointMm(std::int64_t i) const { return SteppedPoint(Start, Step, i); }
};

struct GridAxes {
  GridAxis X, Y, Z;
  explicit GridAxes(const NearFieldGrid& g)
      : X(g.XStart, g.XStop, g.XStep),
        Y(g.YStart, g.YStop, g.YStep),
        Z(g.ZStart, g.ZStop, g.ZStep) {}
};

}  // namespace

bool CheckNearFieldGrid(const NearFieldGridTexts& texts, double groundPlaneHeightMm,
                        UserInterface& ui, NearFieldGrid& grid,
                        std::optional<NearFieldEntry>& failed) {
  struct Check {
    NearFieldEntry field;
    const std::string& text;
    const char* name;
    double low, high;
    double* value;
  };
  const double zLow = groundPlaneHeightMm > NoGroundPlaneHeight ? -groundPlaneHeightMm : -1e9;
  NearFieldGrid checked;
  const Check checks[] = {
      {NearFieldEntry::XStart, texts.XStart, "X start value", -1e9, 1e9, &checked.XStart},
      {NearFieldEntry::XStop, texts.XStop, "X stop value", -1e9, 1e9, &checked.XStop},
      {NearFieldEntry::XStep, texts.XStep, "X step value", 0, 1e9, &checked.XStep},
      {NearFieldEntry::YStart, texts.YStart, "Y start value", -1e9, 1e9, &checked.YStart},
      {NearFieldEntry::YStop, texts.YStop, "Y stop value", -1e9, 1e9, &checked.YStop},
      {NearFieldEntry::YStep, texts.YStep, "Y step value", 0, 1e9, &checked.YStep},
      {NearFieldEntry::ZStart, texts.ZStart, "Z start value", zLow, 1e9, &checked.ZStart},
      {NearFieldEntry::ZStop, texts.ZStop, "Z stop value", zLow, 1e9, &checked.ZStop},
      {NearFieldEntry::ZStep, texts.ZStep, "Z step value", 0, 1e6, &checked.ZStep},
  };
  failed.reset();
  for (const Check& check : checks)
    if (!CheckReal(check.text, check.name, check.low, check.high, ui, check.value)) {
      failed = check.field;
      return false;
    }
  grid = checked;
  return true;
}

std::int64_t CountNearFieldPoints(const NearFieldGrid& grid) {
  const GridAxes axes(grid);
  std::int64_t total = 1;
  for (const GridAxis* axis : {&axes.X, &axes.Y, &axes.Z}) {
    const std::int64_t n = axis->Count(MaxNearFieldPoints);
    if (n > MaxNearFieldPoints || total > MaxNearFieldPoints / n) return MaxNearFieldPoints + 1;
    total *= n;
  }
  return total;
}

std::string ComputingNearFieldCaption(double frequencyMHz) {
  return "Wait! Computing Near-field at " + FormatGeneral(frequencyMHz) + " MHz";
}

double NearFieldWavenumber(double frequencyMHz, double epsEff) {
  return TwoPi * frequencyMHz * 1e6 * std::sqrt(Mu0 * epsEff);
}

double ProjectEffectivePermittivity(const std::filesystem::path& projectFile) {
  const ProFileSettings settings = ParseProFile(ReadTextFile(projectFile), projectFile.string());
  const std::optional<double> height = ParseRealText(settings.GroundPlaneLine);
  if (!height || *height <= NoGroundPlaneHeight) return Eps0;
  const std::optional<double> epsR = ParseRealText(settings.DielConstLine);
  if (!epsR || *epsR < 1.0 || *epsR > 1e6)
    throw FileError("Error in file \"" + projectFile.string() +
                    "\", line 15: dielectric constant expected, found \"" +
                    settings.DielConstLine.substr(0, 24) + "\"");
  return Eps0 * (1.0 + *epsR) * 0.5;
}

std::string NearFieldLine(double xMm, double yMm, double zMm, Complex a, Complex b, Complex c) {
  std::string line;
  line.reserve(9 * 24 + 2);
  for (double v : {xMm, yMm, zMm, a.Re, a.Im, b.Re, b.Im, c.Re, c.Im}) {
    if (!line.empty()) line += ' ';
    line += FormatR23(v);
  }
  line += LineEnd;
  return line;
}

bool NearFieldAtPoint(const NearFieldSources& sources, double x, double y, double z, double k,
                      FieldSample& sample, bool& tooClose, UserInterface& ui,
                      double etaOverFourPi) {
  sample = {};
  for (const std::vector<Dipole>& group : sources.Groups) {
    for (const Dipole& d : group) AddDipoleField(d, x, y, z, k, sample, tooClose, etaOverFourPi);
    if (ui.PumpEventsAndCheckAbort()) return false;
  }
  return true;
}

bool ComputeNearField(const std::filesystem::path& projectFile, const NearFieldGrid& grid,
                      double frequencyMHz, double k, const NearFieldSources& sources, bool first,
                      bool& tooClose, UserInterface& ui) {
  const std::int64_t count = CountNearFieldPoints(grid);
  if (count > MaxNearFieldPoints) throw std::invalid_argument(TooManyPointsMessage);
  const std::filesystem::path nfePath = ProjectFileWithExtension(projectFile, ".NFE");
  const std::filesystem::path nfhPath = ProjectFileWithExtension(projectFile, ".NFH");
  // The two files hold the same frequencies: a block that fails in one goes from both.
  ResultPointGuard both({nfePath, nfhPath}, first);
  ResultFileStream nfe(nfePath, first);
  ResultFileStream nfh(nfhPath, first);
  std::string header;
  WriteResultHeader(header, frequencyMHz, count);
  nfe.Write(header);
  nfh.Write(header);

  const GridAxes axes(grid);
  // The electric field of a current in a medium of the computation's permittivity
  // scales with that medium's wave impedance, not free space's.
  const double etaOverFourPi = MediumEtaOverFourPi(frequencyMHz, k);
  FieldSample s;
  const std::int64_t nx = axes.X.Count(MaxNearFieldPoints);
  const std::int64_t ny = axes.Y.Count(MaxNearFieldPoints);
  const std::int64_t nz = axes.Z.Count(MaxNearFieldPoints);
  for (std::int64_t ix = 0; ix < nx; ++ix) {
    const double xm = axes.X.PointMm(ix);
    for (std::int64_t iy = 0; iy < ny; ++iy) {
      const double ym = axes.Y.PointMm(iy);
      for (std::int64_t iz = 0; iz < nz; ++iz) {
        const double zm = axes.Z.PointMm(iz);
        if (!NearFieldAtPoint(sources, xm * MillimetreToMetre, ym * MillimetreToMetre,
                              zm * MillimetreToMetre, k, s, tooClose, ui, etaOverFourPi)) {
          // Both files go back to where the block began.
          nfe.Discard();
          nfh.Discard();
          return false;
        }
        nfe.Write(NearFieldLine(xm, ym, zm, s.Ex, s.Ey, s.Ez));
        nfh.Write(NearFieldLine(xm, ym, zm, s.Hx, s.Hy, s.Hz));
      }
    }
  }
  nfe.Close();
  nfh.Close();
  both.Keep();
  return true;
}

NearFieldRunResult RunNearField(const std::filesystem::path& projectFile,
                                const NearFieldGridTexts& texts, std::optional<double> epsEff,
                                UserInterface& ui,
                                const std::function<void(std::string_view)>& setCaption) {
  NearFieldRunResult result;
  const std::optional<ProjectLock> lock = ProjectLock::TryTake(projectFile);
  if (!lock) {
    ui.ShowMessage(ProjectBusyMessage(projectFile));
    return result;
  }
  const CurrentFileSet files = CurrentFileSet::Read(projectFile);
  if (files.Xxx.Empty && files.Yyy.Empty) {
    ui.ShowMessage(NoCurrentFilesText);
    return result;
  }
  const double heightMm = ReadGroundPlaneHeightMm(projectFile);
  NearFieldGrid grid;
  if (!CheckNearFieldGrid(texts, heightMm, ui, grid, result.FocusField)) return result;
  result.Points = CountNearFieldPoints(grid);
  if (result.Points > MaxNearFieldPoints) {
    ui.ShowMessage(TooManyPointsMessage);
    result.Points = 0;
    return result;
  }
  const double permittivity = epsEff ? *epsEff : ProjectEffectivePermittivity(projectFile);
  const double height = heightMm > NoGroundPlaneHeight ? heightMm * MillimetreToMetre : 0.0;

  const CurrentFileText& scanned = files.Xxx.Empty ? files.Yyy : files.Xxx;
  const std::vector<double> frequencies = CompleteRunFrequencies(files, ui);
  if (frequencies.empty()) {  // nothing but the incomplete first block of a run
    ui.ShowMessage(NoCurrentFilesText);
    return result;
  }
  bool tooClose = false;
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    const double f = frequencies[i];
    if (!(f > 0.0))
      throw FileError("Error in file \"" + scanned.Name + "\": frequency " + FormatGeneral(f) +
                      " MHz, the near field needs positive frequencies");
    if (setCaption) setCaption(ComputingNearFieldCaption(f));
    const NearFieldSources sources = ReadNearFieldSources(files, f, height);
    bool written = false;
    try {
      written = ComputeNearField(projectFile, grid, f, NearFieldWavenumber(f, permittivity),
                                 sources, i == 0, tooClose, ui);
    } catch (const FileError& error) {
      const std::vector<double> kept(frequencies.begin(), frequencies.begin() + static_cast<std::ptrdiff_t>(i));
      throw FileError(WithKeptResults(error.what(), kept));
    }
    if (!written) {
      result.Outcome = NearFieldRunOutcome::Aborted;
      return result;
    }
    ++result.Frequencies;
    // Events between two frequencies; an abort asked now stops the run before the
    // next block, while after the last one the run is complete.
    if (ui.PumpEventsAndCheckAbort() && i + 1 < frequencies.size()) {
      result.Outcome = NearFieldRunOutcome::Aborted;
      return result;
    }
  }
  if (tooClose) ui.ShowMessage(TooCloseWarning);
  result.TooClose = tooClose;
  result.Outcome = NearFieldRunOutcome::Completed;
  return result;
}

}  // namespace lumetra
