#include "plots/vector_plot_data.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "fields/result_files.h"
#include "fields/result_lists_format.h"
#include "fields/result_readers.h"
#include "model/file_io.h"
#include "model/project_files.h"

namespace lumetra {

namespace {

std::string ReadIfPresent(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return {};
  return ReadTextFile(file);
}

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

void Link(std::vector<VectorCell>& cells, const std::vector<CurrentElement>& elements,
          std::int32_t& number, bool jx) {
  for (const CurrentElement& e : elements) {
    ++number;
    auto set = [&](std::int32_t cell, int slot) {
      // A cell number beyond the charge file belongs to a damaged file; it links
      // nothing rather than writing outside the list.
      if (cell < 1 || cell > static_cast<std::int32_t>(cells.size())) return;
      auto& n = jx ? cells[static_cast<std::size_t>(cell - 1)].JxNeighbour
                   : cells[static_cast<std::size_t>(cell - 1)].JyNeighbour;
      n[static_cast<std::size_t>(slot)] = number;
    };
    set(e.From, 1);
    set(e.To, 0);
  }
}

std::vector<CurrentElement> Elements(const std::filesystem::path& projectFile,
                                     const char* extension) {
  const std::filesystem::path file = ProjectFileWithExtension(projectFile, extension);
  const std::string text = ReadIfPresent(file);
  if (IsBlank(text)) return {};
  return ParseCurrentElementFile(text, file.filename().string());
}

}  // namespace

bool IsChargeFileEmpty(const std::filesystem::path& projectFile) {
  return IsBlank(ReadIfPresent(ProjectFileWithExtension(projectFile, ".CHE")));
}

std::vector<VectorCell> LoadVectorCells(const std::filesystem::path& projectFile,
                                        double frequencyMHz) {
  std::vector<VectorCell> cells;
  const std::filesystem::path charges = ProjectFileWithExtension(projectFile, ".CHE");
  const std::string text = ReadIfPresent(charges);
  if (IsBlank(text)) return cells;
  for (const ChargeElement& c : ParseChargeElementFile(text, charges.filename().string())) {
    VectorCell cell;
    cell.X = c.X;
    cell.Y = c.Y;
    cell.Dx = c.Dx;
    cell.Dy = c.Dy;
    cells.push_back(cell);
  }
  std::int32_t jx = 0, jy = 0;
  Link(cells, Elements(projectFile, ".JXE"), jx, true);
  Link(cells, Elements(projectFile, ".JXC"), jx, true);
  Link(cells, Elements(projectFile, ".JYE"), jy, false);
  Link(cells, Elements(projectFile, ".JYC"), jy, false);

  const std::filesystem::path gpc = ProjectFileWithExtension(projectFile, ".GPC");
  const std::string gpcText = ReadIfPresent(gpc);
  if (IsBlank(gpcText)) return cells;
  const std::vector<GroundPoint> points = ParseGpcFile(gpcText, gpc.filename().string());
  auto block = [&](const char* extension) -> std::optional<ResultBlock> {
    const std::filesystem::path file = ProjectFileWithExtension(projectFile, extension);
    std::error_code error;
    if (!std::filesystem::exists(file, error) || IsResultFileEmpty(file)) return std::nullopt;
    return FindBlock(file, frequencyMHz, GroundPlaneFileFields);
  };
  const std::optional<ResultBlock> xs = block(".ZZX"), ys = block(".ZZY");
  std::size_t nextX = 0, nextY = 0;
  for (const GroundPoint& p : points) {
    const bool xKind = p.Edge == EdgeLeft || p.Edge == EdgeRight;
    const std::optional<ResultBlock>& source = xKind ? xs : ys;
    std::size_t& next = xKind ? nextX : nextY;
    if (!source || next >= source->Rows()) continue;
    const double* v = source->Row(next++);
    if (p.ChargeNo < 1 || p.ChargeNo > static_cast<std::int32_t>(cells.size())) continue;
    VectorCell& cell = cells[static_cast<std::size_t>(p.ChargeNo - 1)];
    (xKind ? cell.XSeed : cell.YSeed) = {v[5], v[6]};
  }
  return cells;
}

bool NeighboursValid(const std::vector<VectorCell>& cells, const CurrentSamples& samples) {
  const auto nx = static_cast<std::int32_t>(samples.Jx.size());
  const auto ny = static_cast<std::int32_t>(samples.Jy.size());
  for (const VectorCell& c : cells) {
    for (std::int32_t n : c.JxNeighbour)
      if (n < 0 || n > nx) return false;
    for (std::int32_t n : c.JyNeighbour)
      if (n < 0 || n > ny) return false;
  }
  return true;
}

double SmallestCellSize(const std::vector<VectorCell>& cells) {
  if (cells.empty()) return 0.0;
  double d = cells.front().Dx;
  for (const VectorCell& c : cells) d = std::min({d, c.Dx, c.Dy});
  return d;
}

std::array<std::complex<double>, 2> CellCurrent(const VectorCell& cell,
                                                const CurrentSamples& samples) {
  std::complex<double> jx = cell.XSeed, jy = cell.YSeed;
  for (std::int32_t n : cell.JxNeighbour)
    if (n > 0 && static_cast<std::size_t>(n) <= samples.Jx.size()) {
      const CurrentSample& s = samples.Jx[static_cast<std::size_t>(n - 1)];
      jx += std::complex<double>(s.Re, s.Im);
    }
  for (std::int32_t n : cell.JyNeighbour)
    if (n > 0 && static_cast<std::size_t>(n) <= samples.Jy.size()) {
      const CurrentSample& s = samples.Jy[static_cast<std::size_t>(n - 1)];
      jy += std::complex<double>(s.Re, s.Im);
    }
  return {jx, jy};
}

double LargestCellCurrent(const std::vector<VectorCell>& cells, const CurrentSamples& samples) {
  double largest = 0.0;
  for (const VectorCell& cell : cells) {
    const auto j = CellCurrent(cell, samples);
    largest = std::max(largest, std::sqrt(std::norm(j[0]) + std::norm(j[1])));
  }
  return largest;
}

std::array<double, 2> ProportionalCellVector(const VectorCell& cell, const CurrentSamples& samples,
                                             double phaseTime, double vectorScale,
                                             double halfLongest, double largest) {
  std::array<double, 2> v{0.0, 0.0};
  if (!(largest > 0.0)) return v;
  const auto j = CellCurrent(cell, samples);
  const double wt = 2 * std::numbers::pi * phaseTime;
  // The instantaneous current Re(J e^(j wt)).
  const double ax = std::cos(wt) * j[0].real() - std::sin(wt) * j[0].imag();
  const double ay = std::cos(wt) * j[1].real() - std::sin(wt) * j[1].imag();
  const double k = vectorScale * halfLongest / largest;
  v = {ax * k, ay * k};
  const double length = std::hypot(v[0], v[1]);
  const double limit = 2.0 * halfLongest;
  if (length > limit) {
    v[0] *= limit / length;
    v[1] *= limit / length;
  }
  return v;
}

double LongestHalfArrow(double dmin, double pixelsPerMm, double minPixels) {
  const double fromCell = 0.45 * dmin;
  if (!(pixelsPerMm > 0.0)) return fromCell;
  return std::max(fromCell, minPixels / pixelsPerMm);
}

std::array<int, 3> MagnitudeRgb(double fraction) {
  const double f = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
  // Piecewise linear through (0,0,160) (0,200,255) (255,210,0) (220,0,0).
  struct Stop { double at; double r, g, b; };
  static constexpr Stop stops[] = {
      {0.0, 0, 0, 160}, {1.0 / 3, 0, 200, 255}, {2.0 / 3, 255, 210, 0}, {1.0, 220, 0, 0}};
  for (std::size_t i = 1; i < std::size(stops); ++i) {
    if (f <= stops[i].at) {
      const Stop& a = stops[i - 1];
      const Stop& b = stops[i];
      const double t = (f - a.at) / (b.at - a.at);
      return {static_cast<int>(std::lround(a.r + t * (b.r - a.r))),
              static_cast<int>(std::lround(a.g + t * (b.g - a.g))),
              static_cast<int>(std::lround(a.b + t * (b.b - a.b)))};
    }
  }
  return {220, 0, 0};
}

std::array<PixelLine, 4> ArrowLines(double x, double y, std::array<double, 2> v, double s,
                                    double pcbLy) {
  auto round = [](double a) { return static_cast<int>(std::nearbyint(a)); };
  const int dx = round(v[0] * s), dy = round(v[1] * s);
  const int cx = round(x * s), cy = round((pcbLy - y) * s);
  const double length = 0.3 * std::sqrt(double(dx) * dx + double(dy) * dy);
  const double theta = dx == 0 ? std::numbers::pi / 2 : std::atan(std::abs(double(dy) / dx));
  const double c = 10 * std::numbers::pi / 21;
  const int tipX = cx + dx, tipY = cy - dy;
  std::array<PixelLine, 4> lines;
  lines[0] = {cx, cy, tipX, tipY};
  const double angles[2] = {theta - c, theta + c};
  for (int i = 0; i < 2; ++i) {
    const int hx = round(length * std::cos(angles[i]));
    const int hy = round(length * std::sin(angles[i]));
    const int px = dx < 0 ? cx + hx : cx - hx;
    const int py = dy < 0 ? cy - hy : cy + hy;
    // The head points lie beside the centre, almost square to the shaft, so the
    // head spans the front half of the arrow and stays visible on small cells.
    lines[static_cast<std::size_t>(i + 1)] = {tipX, tipY, px, py};
  }
  lines[3] = {cx, cy, cx - dx, cy + dy};
  return lines;
}

double StepTime(double phaseTime) {
  phaseTime += 0.05;
  return phaseTime > 1.0 ? 0.0 : phaseTime;
}

double AnimationTime(double phaseTime) {
  phaseTime += 0.04;
  return phaseTime > 1.0 ? 0.0 : phaseTime;
}

std::string TimeText(double phaseTime) { return "t/T=" + FormatListFixed(phaseTime, 2, 2); }

}  // namespace lumetra
