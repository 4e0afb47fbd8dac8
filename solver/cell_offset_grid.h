// The cell integrals of the fill laid out on a table indexed directly by the offsets,
// shared by the worker threads.
//
// Layouts sit on a snap grid: the x coordinates of the cells of one size take few
// distinct values, so do those of the points they are seen from, and so do their
// rounded absolute differences (the keys of CellIntegralCache); likewise along y.
// For a group of equal cells and a set of observer points, every pair therefore
// names one point of a small rectangle of (x key, y key): two short table reads
// (cell coordinate, observer coordinate) give each key's number, and the value sits
// at that point of a dense table. No hashing and no probing, and every distinct
// value is computed once for all workers rather than once by each of them.
//
// The values are those of CellIntegralCache bit for bit: the same keys and the same
// KeyedCellIntegral. Where k R0 lies within rounding of 1 the rule may differ
// between offsets sharing a key; such points hold NaN and the caller asks its cache,
// which decides from the actual offset.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "solver/cell_integral_cache.h"
#include "solver/fill_geometry.h"

namespace lumetra {

// The keys of |source - observer| along one axis.
struct OffsetAxis {
  std::vector<std::int32_t> SourceRow;       // per source: start of its row of KeyNumber
  std::vector<std::int32_t> ObserverColumn;  // per observer: its distinct coordinate
  std::vector<std::int32_t> KeyNumber;       // distinct source x distinct observer coordinates
  std::vector<std::int64_t> Keys;            // the distinct rounded |offsets|, ascending
};

// One cell size seen from one set of observers, in the trace plane and (with a
// ground plane) from the image distance.
struct CellOffsetGrid {
  CellSizeKey Size;
  std::int64_t Pairs = 0;  // sources x observers
  OffsetAxis X, Y;
  std::vector<std::uint8_t> Needed;  // per point of the key rectangle: some pair names it
  // y key major: along a row of cells the points of neighbours lie side by side.
  std::vector<Complex> Free, Mirror;  // NaN: ask the cache

  std::size_t Points() const { return X.Keys.size() * Y.Keys.size(); }
};

// Plans the grid of cells of one size (their centres) seen from the observers:
// the offset keys along both axes, nothing computed yet. False when a grid would
// not pay or not fit: an offset beyond the memoised lengths, or a key rectangle
// large against the number of pairs it serves.
bool PlanCellOffsetGrid(CellOffsetGrid& grid, const CellSizeKey& size,
                        const std::vector<PlanePoint>& sources, const std::vector<PlanePoint>& observers);

// Marks the key points named by sources [first, end) with every observer. Pieces
// of different sources may run at once.
void MarkNeededOffsets(CellOffsetGrid& grid, std::int32_t first, std::int32_t end);

// Whether marking is cheaper than computing every key point; where it is not,
// MarkAllOffsets counts every point as needed.
bool MarkingPays(const CellOffsetGrid& grid);
void MarkAllOffsets(CellOffsetGrid& grid);

// Sizes the value tables (Mirror only with image terms) and, unless marked
// already, the marks (none set).
void PrepareGridValues(CellOffsetGrid& grid, bool image);

// Computes the needed points [first, end) of the key rectangle, at plane distances
// 0 and mirrorDistance.
void ComputeGridValues(CellOffsetGrid& grid, double k, double mirrorDistance, std::size_t first,
                       std::size_t end);

// The key rectangle as one source sees it: Slot(o) is observer o's point.
struct GridColumn {
  const std::int32_t* KeyX;
  const std::int32_t* KeyY;
  const std::int32_t* ObserverX;
  const std::int32_t* ObserverY;
  std::size_t XKeys;

  GridColumn(const CellOffsetGrid& grid, std::int32_t source)
      : KeyX(grid.X.KeyNumber.data() + grid.X.SourceRow[static_cast<std::size_t>(source)]),
        KeyY(grid.Y.KeyNumber.data() + grid.Y.SourceRow[static_cast<std::size_t>(source)]),
        ObserverX(grid.X.ObserverColumn.data()),
        ObserverY(grid.Y.ObserverColumn.data()),
        XKeys(grid.X.Keys.size()) {}

  std::size_t Slot(std::int32_t observer) const {
    return static_cast<std::size_t>(KeyY[ObserverY[observer]]) * XKeys +
           static_cast<std::size_t>(KeyX[ObserverX[observer]]);
  }
};

// One source's grid at one plane distance. A NaN read means: ask the cache.
class GridValues {
public:
  GridValues(const CellOffsetGrid& grid, std::int32_t source, const std::vector<Complex>& values)
      : column_(grid, source), values_(values.data()) {}
  Complex At(std::int32_t observer) const { return values_[column_.Slot(observer)]; }

private:
  GridColumn column_;
  const Complex* values_;
};

inline bool AskTheCache(Complex value) { return std::isnan(value.Re); }

// Sources of one kind (charge cells, or current elements of one direction) grouped
// by their size, each group with its grid where one pays.
struct GriddedSources {
  std::vector<CellOffsetGrid> Grids;
  std::vector<std::int32_t> Grid;   // per source: its grid, -1 for none (the caches serve it)
  std::vector<std::int32_t> Index;  // per source: its number within the grid

  const CellOffsetGrid* GridOf(std::int32_t source) const {
    const std::int32_t g = Grid.empty() ? -1 : Grid[static_cast<std::size_t>(source)];
    return g < 0 ? nullptr : &Grids[static_cast<std::size_t>(g)];
  }
};

// Groups the sources by their size key, one grid (not yet planned) per group;
// sources with skip[s] set (skip may be empty) or sizes beyond the memoised lengths
// stay with the caches. members[g] receives the centres of group g in the order of
// their Index.
GriddedSources GroupBySize(const std::vector<PlanePoint>& centres, const std::vector<CellSizeKey>& sizes,
                           const std::vector<std::uint8_t>& skip,
                           std::vector<std::vector<PlanePoint>>& members);

// Sends the sources of the grids that did not plan (planned[g] == 0) back to the
// caches and empties those grids.
void DropUnplannedGrids(GriddedSources& gridded, const std::vector<std::uint8_t>& planned);

}  // namespace lumetra
