#include "model/snap_grid.h"

#include <cmath>

#include "model/layout_view_geometry.h"

namespace lumetra {

int SnapToGrid(int p, double gridSize, double scale) {
  const double pitch = gridSize * scale;
  if (!(pitch > 0)) return p;
  // Grid lines are whole pixels, each rounded on its own, so walk them rather than
  // divide: the rounded pitch varies from line to line.
  for (std::int64_t k = 0;; ++k) {
    const std::int64_t a = RoundHalfEven(k * pitch);
    const std::int64_t b = RoundHalfEven((k + 1) * pitch);
    if (p <= a + pitch / 2) return static_cast<int>(a);
    if (b >= p) return static_cast<int>(b);
  }
}

std::optional<Segment> SegmentFromRubberBand(int startPx, int startPy, int endPx, int endPy,
                                             const Project& project, double scale) {
  const double g = project.GridSize;
  const double pitch = g * scale;
  if (!(pitch > 0)) return std::nullopt;
  endPx = SnapToGrid(endPx, g, scale);
  endPy = SnapToGrid(endPy, g, scale);
  // Signed sizes: negative when drawn leftwards or upwards on screen.
  const double lx = RoundHalfEven((endPx - startPx) / pitch) * g;
  const double ly = RoundHalfEven((endPy - startPy) / pitch) * g;
  if (lx == 0 || ly == 0) return std::nullopt;

  Segment s;
  s.Xc = RoundHalfEven(startPx / pitch) * g + lx / 2;
  s.Yc = project.PcbLy - RoundHalfEven(startPy / pitch) * g - ly / 2;
  s.Lx = std::fabs(lx);
  s.Ly = std::fabs(ly);
  s.ChX = static_cast<std::int32_t>(RoundHalfEven(std::fabs(project.ChargesPerGridX * lx / g)));
  s.ChY = static_cast<std::int32_t>(RoundHalfEven(std::fabs(project.ChargesPerGridY * ly / g)));
  // A segment ending exactly on the board edge is inside; the tolerance keeps a
  // grid pitch such as 0.1 mm, which has no exact binary form, from pushing the
  // edge a rounding error outside.
  constexpr double edge = 1e-9;
  if (s.Xc + s.Lx / 2 > project.PcbLx + edge || s.Xc - s.Lx / 2 < -edge ||
      s.Yc + s.Ly / 2 > project.PcbLy + edge || s.Yc - s.Ly / 2 < -edge)
    return std::nullopt;
  return s;
}

}  // namespace lumetra
