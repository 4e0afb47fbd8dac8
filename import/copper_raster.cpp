#include "import/copper_raster.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "import/kicad_board.h"

namespace lumetra {

namespace {

// KiCad stores positions in nanometres; closer than this two coordinates are equal.
constexpr double SameCoordinateMm = 1e-6;

struct GridPoint {
  double u = 0.0;  // in cells
  double v = 0.0;
};

GridPoint ToGrid(BoardPoint p, double g) { return {p.x / g, p.y / g}; }

int Floor(double value) { return static_cast<int>(std::floor(value)); }
int Round(double value) { return static_cast<int>(std::lround(value)); }

int WidthInCells(double widthMm, double g) { return std::max(1, Round(widthMm / g)); }

bool AlongX(BoardPoint a, BoardPoint b) { return std::fabs(a.y - b.y) <= SameCoordinateMm; }
bool AlongY(BoardPoint a, BoardPoint b) { return std::fabs(a.x - b.x) <= SameCoordinateMm; }

// The cells of a track along x (or, swapped, along y): first and last column and
// row, inclusive.
struct CellBox {
  int iLow, iHigh, jLow, jHigh;
};

CellBox StraightTrackBox(BoardPoint a, BoardPoint b, int cellsWide, double g) {
  const double half = cellsWide / 2.0;
  CellBox box{};
  if (AlongX(a, b)) {
    box.jLow = Round(a.y / g - half);
    box.jHigh = box.jLow + cellsWide - 1;
    box.iLow = Round(std::min(a.x, b.x) / g - half);
    box.iHigh = std::max(box.iLow + cellsWide, Round(std::max(a.x, b.x) / g + half)) - 1;
  } else {
    box.iLow = Round(a.x / g - half);
    box.iHigh = box.iLow + cellsWide - 1;
    box.jLow = Round(std::min(a.y, b.y) / g - half);
    box.jHigh = std::max(box.jLow + cellsWide, Round(std::max(a.y, b.y) / g + half)) - 1;
  }
  return box;
}

// Range of x on the line y = v within distance r of the segment p-q (a capsule),
// or nothing. The capsule is convex, so the pieces from both end discs and from
// the rectangle between them span one interval.
std::optional<std::pair<double, double>> CapsuleRow(GridPoint p, GridPoint q, double r,
                                                    double v) {
  double low = INFINITY, high = -INFINITY;
  auto disc = [&](GridPoint c) {
    const double dv = v - c.v;
    if (std::fabs(dv) > r) return;
    const double du = std::sqrt(r * r - dv * dv);
    low = std::min(low, c.u - du);
    high = std::max(high, c.u + du);
  };
  disc(p);
  disc(q);
  // Inside the rectangle: 0 <= t <= L^2 and |n| <= r L, both linear in u.
  const double du = q.u - p.u, dv = q.v - p.v;
  const double length = std::hypot(du, dv);
  if (length > 0.0) {
    double from = -INFINITY, to = INFINITY;
    // a u + b within [lo, hi]
    auto limit = [&](double a, double b, double lo, double hi) {
      if (a == 0.0) {
        if (b < lo || b > hi) from = INFINITY, to = -INFINITY;
        return;
      }
      double u1 = (lo - b) / a, u2 = (hi - b) / a;
      if (u1 > u2) std::swap(u1, u2);
      from = std::max(from, u1);
      to = std::min(to, u2);
    };
    limit(du, -p.u * du + (v - p.v) * dv, 0.0, length * length);
    limit(-dv, p.u * dv + (v - p.v) * du, -r * length, r * length);
    if (from <= to) {
      low = std::min(low, from);
      high = std::max(high, to);
    }
  }
  if (low > high) return std::nullopt;
  return std::make_pair(low, high);
}

// The cells a straight line from p to q passes through, each sharing an edge with
// the next (a line through a corner takes the cell beside it first).
void LineCells(GridPoint p, GridPoint q, std::vector<CellIndex>& out) {
  int i = Floor(p.u), j = Floor(p.v);
  const int iEnd = Floor(q.u), jEnd = Floor(q.v);
  const double du = q.u - p.u, dv = q.v - p.v;
  const int stepI = du > 0 ? 1 : -1, stepJ = dv > 0 ? 1 : -1;
  const double tDeltaU = du != 0.0 ? std::fabs(1.0 / du) : INFINITY;
  const double tDeltaV = dv != 0.0 ? std::fabs(1.0 / dv) : INFINITY;
  double tMaxU = du != 0.0 ? ((du > 0 ? (i + 1 - p.u) : (p.u - i)) * tDeltaU) : INFINITY;
  double tMaxV = dv != 0.0 ? ((dv > 0 ? (j + 1 - p.v) : (p.v - j)) * tDeltaV) : INFINITY;
  out.push_back({i, j});
  const int steps = std::abs(iEnd - i) + std::abs(jEnd - j);
  for (int n = 0; n < steps; ++n) {
    if ((tMaxU <= tMaxV && i != iEnd) || j == jEnd) {
      i += stepI;
      tMaxU += tDeltaU;
    } else {
      j += stepJ;
      tMaxV += tDeltaV;
    }
    out.push_back({i, j});
  }
}

void SortUnique(std::vector<CellIndex>& cells) {
  std::sort(cells.begin(), cells.end(), [](const CellIndex& a, const CellIndex& b) {
    return a.j != b.j ? a.j < b.j : a.i < b.i;
  });
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

}  // namespace

CopperRaster::CopperRaster(double gridMm, int i0, int j0, int width, int height)
    : grid_(gridMm), i0_(i0), j0_(j0), width_(width), height_(height),
      cells_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

int CopperRaster::At(int i, int j) const { return Inside(i, j) ? cells_[Offset(i, j)] : 0; }

void CopperRaster::Claim(int i, int j, int net) {
  if (!Inside(i, j)) return;
  std::uint16_t& cell = cells_[Offset(i, j)];
  if (cell != 0 && cell != net && !sharedCell_) sharedCell_ = std::make_pair(int{cell}, net);
  if (cell == 0) cell = static_cast<std::uint16_t>(net);
}

std::optional<std::pair<int, int>> CopperRaster::TouchingNets() const {
  if (sharedCell_) return sharedCell_;
  for (int j = j0_; j < j0_ + height_; ++j)
    for (int i = i0_; i < i0_ + width_; ++i) {
      const int here = At(i, j);
      if (here == 0) continue;
      const int right = At(i + 1, j), up = At(i, j + 1);
      if (right != 0 && right != here) return std::make_pair(here, right);
      if (up != 0 && up != here) return std::make_pair(here, up);
    }
  return std::nullopt;
}

CellIndex CellOf(BoardPoint p, double gridMm) {
  return {Floor(p.x / gridMm), Floor(p.y / gridMm)};
}

std::vector<CellIndex> TrackCells(BoardPoint start, BoardPoint end, double widthMm,
                                  double gridMm) {
  const int cellsWide = WidthInCells(widthMm, gridMm);
  std::vector<CellIndex> cells;
  if (AlongX(start, end) || AlongY(start, end)) {
    const CellBox box = StraightTrackBox(start, end, cellsWide, gridMm);
    cells.reserve(static_cast<std::size_t>(box.iHigh - box.iLow + 1) *
                  static_cast<std::size_t>(box.jHigh - box.jLow + 1));
    for (int j = box.jLow; j <= box.jHigh; ++j)
      for (int i = box.iLow; i <= box.iHigh; ++i) cells.push_back({i, j});
    return cells;
  }
  const GridPoint p = ToGrid(start, gridMm), q = ToGrid(end, gridMm);
  const double r = cellsWide / 2.0;
  const int jLow = Floor(std::min(p.v, q.v) - r) - 1, jHigh = Floor(std::max(p.v, q.v) + r) + 1;
  for (int j = jLow; j <= jHigh; ++j) {
    const auto row = CapsuleRow(p, q, r, j + 0.5);
    if (!row) continue;
    const int iLow = static_cast<int>(std::ceil(row->first - 0.5));
    const int iHigh = Floor(row->second - 0.5);
    for (int i = iLow; i <= iHigh; ++i) cells.push_back({i, j});
  }
  LineCells(p, q, cells);
  SortUnique(cells);
  return cells;
}

double TrackCellsPathLength(BoardPoint start, BoardPoint end, double widthMm, double gridMm,
                            const std::vector<CellIndex>& cells) {
  const int cellsWide = WidthInCells(widthMm, gridMm);
  if (AlongX(start, end) || AlongY(start, end)) {
    const CellBox box = StraightTrackBox(start, end, cellsWide, gridMm);
    const int cellsLong = AlongX(start, end) ? box.iHigh - box.iLow + 1 : box.jHigh - box.jLow + 1;
    return (cellsLong - cellsWide) * gridMm;
  }
  // Work along rows for a track nearer the x axis, along columns otherwise: swap
  // the axes so that "rows" below are whichever it is.
  const GridPoint p = ToGrid(start, gridMm), q = ToGrid(end, gridMm);
  const bool byRow = std::fabs(q.u - p.u) >= std::fabs(q.v - p.v);
  auto across = [&](const CellIndex& c) { return byRow ? c.j : c.i; };
  auto along = [&](const CellIndex& c) { return byRow ? c.i : c.j; };
  std::map<int, std::pair<int, int>> runs;  // row -> first and last cell
  for (const CellIndex& c : cells) {
    auto [it, inserted] = runs.emplace(across(c), std::make_pair(along(c), along(c)));
    if (!inserted) {
      it->second.first = std::min(it->second.first, along(c));
      it->second.second = std::max(it->second.second, along(c));
    }
  }
  const CellIndex first{Floor(p.u), Floor(p.v)}, last{Floor(q.u), Floor(q.v)};
  const int rowFirst = across(first), rowLast = across(last);
  const int step = rowLast >= rowFirst ? 1 : -1;
  // The shortest path through the staircase from the first cell's centre to the
  // last one's: it crosses each boundary between two rows where their runs overlap
  // (between the centres of the outermost shared cells). The crossing points start
  // in the middle of each overlap and are pulled taut, one after the other, onto
  // the straight line between their neighbours as far as the overlap allows.
  struct Portal {
    double position, low, high, row;  // along, its limits, and the boundary across
  };
  std::vector<Portal> portals;
  for (int row = rowFirst; row != rowLast; row += step) {
    const auto a = runs.find(row), b = runs.find(row + step);
    if (a == runs.end() || b == runs.end()) continue;
    const double low = std::max(a->second.first, b->second.first) + 0.5;
    const double high = std::min(a->second.second, b->second.second) + 0.5;
    if (low > high) continue;
    portals.push_back({(low + high) / 2.0, low, high, step > 0 ? row + 1.0 : double(row)});
  }
  const double startAlong = along(first) + 0.5, startRow = across(first) + 0.5;
  const double endAlong = along(last) + 0.5, endRow = across(last) + 0.5;
  auto positionOf = [&](std::size_t k) { return portals[k].position; };
  for (int sweep = 0; sweep < 400; ++sweep) {
    double moved = 0.0;
    for (std::size_t k = 0; k < portals.size(); ++k) {
      const double a0 = k == 0 ? startAlong : positionOf(k - 1);
      const double r0 = k == 0 ? startRow : portals[k - 1].row;
      const double a1 = k + 1 == portals.size() ? endAlong : positionOf(k + 1);
      const double r1 = k + 1 == portals.size() ? endRow : portals[k + 1].row;
      const double t = r1 != r0 ? (portals[k].row - r0) / (r1 - r0) : 0.5;
      const double target =
          std::clamp(a0 + t * (a1 - a0), portals[k].low, portals[k].high);
      moved = std::max(moved, std::fabs(target - portals[k].position));
      portals[k].position = target;
    }
    if (moved < 1e-9) break;
  }
  double length = 0.0, lastAlong = startAlong, lastRow = startRow;
  for (const Portal& portal : portals) {
    length += std::hypot(portal.position - lastAlong, portal.row - lastRow);
    lastAlong = portal.position;
    lastRow = portal.row;
  }
  length += std::hypot(endAlong - lastAlong, endRow - lastRow);
  return length * gridMm;
}

std::vector<CellIndex> PadCells(BoardPoint centre, double widthMm, double heightMm,
                                double rotationDeg, bool disc, double gridMm) {
  double c = 1.0, s = 0.0;
  CosSinDeg(rotationDeg, c, s);
  const double reach = disc ? widthMm / 2.0 : std::hypot(widthMm, heightMm) / 2.0;
  const int iLow = Floor((centre.x - reach) / gridMm), iHigh = Floor((centre.x + reach) / gridMm);
  const int jLow = Floor((centre.y - reach) / gridMm), jHigh = Floor((centre.y + reach) / gridMm);
  std::vector<CellIndex> cells;
  const double tolerance = 1e-9;
  for (int j = jLow; j <= jHigh; ++j)
    for (int i = iLow; i <= iHigh; ++i) {
      const double dx = (i + 0.5) * gridMm - centre.x, dy = (j + 0.5) * gridMm - centre.y;
      bool inside = false;
      if (disc) {
        inside = std::hypot(dx, dy) <= widthMm / 2.0 + tolerance;
      } else {
        // Into the pad's own axes: turned back by its rotation.
        const double along = dx * c + dy * s, across = -dx * s + dy * c;
        inside = std::fabs(along) <= widthMm / 2.0 + tolerance &&
                 std::fabs(across) <= heightMm / 2.0 + tolerance;
      }
      if (inside) cells.push_back({i, j});
    }
  cells.push_back(CellOf(centre, gridMm));
  SortUnique(cells);
  return cells;
}

}  // namespace lumetra
