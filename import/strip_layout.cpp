#include "import/strip_layout.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace lumetra {

namespace {

struct Strip {
  int net;
  int iLow, iHigh;  // columns, half-open [iLow, iHigh)
  int jLow, jHigh;  // rows, inclusive
};

// The runs of one row: [begin, end) columns with their net.
struct Run {
  int begin, end, net;
};

std::vector<Run> RowRuns(const CopperRaster& raster, int j) {
  std::vector<Run> runs;
  const int iEnd = raster.I0() + raster.Width();
  for (int i = raster.I0(); i < iEnd;) {
    const int net = raster.At(i, j);
    if (net == 0) {
      ++i;
      continue;
    }
    int k = i + 1;
    while (k < iEnd && raster.At(k, j) == net) ++k;
    runs.push_back({i, k, net});
    i = k;
  }
  return runs;
}

std::vector<Strip> Strips(const CopperRaster& raster) {
  std::vector<Strip> strips;
  // Strips still open after the previous row, by their columns and net.
  std::map<std::tuple<int, int, int>, std::size_t> open;
  for (int j = raster.J0(); j < raster.J0() + raster.Height(); ++j) {
    std::map<std::tuple<int, int, int>, std::size_t> next;
    for (const Run& run : RowRuns(raster, j)) {
      const auto key = std::make_tuple(run.begin, run.end, run.net);
      if (const auto found = open.find(key); found != open.end()) {
        strips[found->second].jHigh = j;
        next.emplace(key, found->second);
      } else {
        strips.push_back({run.net, run.begin, run.end, j, j});
        next.emplace(key, strips.size() - 1);
      }
    }
    open = std::move(next);
  }
  return strips;
}

}  // namespace

int FreeCellCount(int spanCells, double spanMm, const CellCountRule& rule) {
  const int byWavelength = static_cast<int>(std::ceil(spanMm / rule.maxCellMm - 1e-9));
  return std::max({1, byWavelength, std::min(spanCells, rule.cellsAcross)});
}

StripSegments SegmentsFromRaster(const CopperRaster& raster, const CellCountRule& rule) {
  const double g = raster.Grid();
  StripSegments out;
  for (const Strip& strip : Strips(raster)) {
    // Columns touched from the row above or below: those cells of the same net
    // belong to the strips that meet this one there.
    std::vector<char> contact(static_cast<std::size_t>(strip.iHigh - strip.iLow), 0);
    for (int i = strip.iLow; i < strip.iHigh; ++i)
      contact[static_cast<std::size_t>(i - strip.iLow)] =
          raster.At(i, strip.jLow - 1) == strip.net || raster.At(i, strip.jHigh + 1) == strip.net;
    const int rows = strip.jHigh - strip.jLow + 1;
    const double y1 = strip.jLow * g, y2 = (strip.jHigh + 1) * g;
    const int chargesY = FreeCellCount(rows, y2 - y1, rule);
    for (int begin = strip.iLow; begin < strip.iHigh;) {
      const char kind = contact[static_cast<std::size_t>(begin - strip.iLow)];
      int end = begin + 1;
      while (end < strip.iHigh && contact[static_cast<std::size_t>(end - strip.iLow)] == kind)
        ++end;
      const double x1 = begin * g, x2 = end * g;
      Segment segment;
      segment.Xc = (x1 + x2) / 2.0;
      segment.Yc = (y1 + y2) / 2.0;
      segment.Lx = x2 - x1;
      segment.Ly = y2 - y1;
      segment.ChX = kind ? end - begin : FreeCellCount(end - begin, x2 - x1, rule);
      segment.ChY = chargesY;
      out.segments.push_back(segment);
      out.net.push_back(strip.net);
      begin = end;
    }
  }
  return out;
}

int CopperPieces(const CopperRaster& raster, int net) {
  std::vector<char> seen(static_cast<std::size_t>(raster.Width()) *
                             static_cast<std::size_t>(raster.Height()),
                         0);
  auto index = [&](int i, int j) {
    return static_cast<std::size_t>(j - raster.J0()) * static_cast<std::size_t>(raster.Width()) +
           static_cast<std::size_t>(i - raster.I0());
  };
  int pieces = 0;
  std::vector<CellIndex> stack;
  for (int j = raster.J0(); j < raster.J0() + raster.Height(); ++j)
    for (int i = raster.I0(); i < raster.I0() + raster.Width(); ++i) {
      if (raster.At(i, j) != net || seen[index(i, j)]) continue;
      ++pieces;
      seen[index(i, j)] = 1;
      stack.push_back({i, j});
      while (!stack.empty()) {
        const CellIndex c = stack.back();
        stack.pop_back();
        const CellIndex around[4] = {{c.i + 1, c.j}, {c.i - 1, c.j}, {c.i, c.j + 1}, {c.i, c.j - 1}};
        for (const CellIndex& n : around)
          if (raster.At(n.i, n.j) == net && !seen[index(n.i, n.j)]) {
            seen[index(n.i, n.j)] = 1;
            stack.push_back(n);
          }
      }
    }
  return pieces;
}

}  // namespace lumetra
