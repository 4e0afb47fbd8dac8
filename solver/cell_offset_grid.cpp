#include "solver/cell_offset_grid.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <map>
#include <unordered_map>
#include <utility>

namespace lumetra {

namespace {

// A grid's tables stay below these sizes; beyond them the layout has no snap grid
// to speak of and the caches serve it as before.
constexpr std::size_t LargestAxisTable = std::size_t{1} << 20;  // distinct source x observer coordinates
constexpr std::size_t LargestKeyRectangle = std::size_t{1} << 21;

// Sorted distinct values and, for every value of the list, its place among them.
std::vector<double> Distinct(const std::vector<double>& values) {
  std::vector<double> distinct(values);
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  return distinct;
}

std::int32_t PlaceOf(const std::vector<double>& distinct, double value) {
  return static_cast<std::int32_t>(std::lower_bound(distinct.begin(), distinct.end(), value) - distinct.begin());
}

// The coordinates of one axis: those of the sources and of the observers, and
// their distinct values.
struct AxisCoordinates {
  std::vector<double> Sources, Observers, Rows, Columns;

  // False when a coordinate lies beyond the memoised lengths.
  bool Take(const std::vector<PlanePoint>& sources, const std::vector<PlanePoint>& observers, bool x) {
    for (const PlanePoint& p : sources) Sources.push_back(x ? p.X : p.Y);
    for (const PlanePoint& p : observers) Observers.push_back(x ? p.X : p.Y);
    for (const std::vector<double>* list : {&Sources, &Observers})
      for (double v : *list)
        if (!(std::fabs(v) <= LargestCachedLength)) return false;
    Rows = Distinct(Sources);
    Columns = Distinct(Observers);
    return true;
  }
  // About the fewest distinct keys there can be. From one source coordinate a key
  // is met only by observer coordinates within 1e-15 m of two points (one on either
  // side), which fall in at most four classes of coordinates rounded to 1e-15 m;
  // the same holds the other way round.
  std::size_t FewestKeys() const { return (std::max(Classes(Rows), Classes(Columns)) + 3) / 4; }

private:
  static std::size_t Classes(const std::vector<double>& sorted) {
    std::size_t classes = 0;
    std::int64_t last = 0;
    for (double v : sorted) {
      const std::int64_t c = std::llround(v * KeysPerMetre);
      if (classes == 0 || c != last) ++classes;
      last = c;
    }
    return classes;
  }
};

// The keys of one axis; false when the distinct keys exceed `largestKeys`.
bool PlanAxis(OffsetAxis& axis, const AxisCoordinates& coordinates, std::size_t largestKeys) {
  const std::vector<double>& sources = coordinates.Sources;
  const std::vector<double>& observers = coordinates.Observers;
  const std::vector<double>& rows = coordinates.Rows;
  const std::vector<double>& columns = coordinates.Columns;
  if (rows.size() * columns.size() > LargestAxisTable) return false;

  // Numbered as met, then renumbered in ascending order of the keys.
  std::unordered_map<std::int64_t, std::int32_t> numbers;
  axis.KeyNumber.resize(rows.size() * columns.size());
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < columns.size(); ++c) {
      // The offset as the cache forms it: centre minus observer.
      const double offset = std::fabs(rows[r] - columns[c]);
      if (!(offset <= LargestCachedLength)) return false;
      const auto [it, added] = numbers.try_emplace(RoundedKey(offset), static_cast<std::int32_t>(numbers.size()));
      if (added && numbers.size() > largestKeys) return false;
      axis.KeyNumber[r * columns.size() + c] = it->second;
    }
  axis.Keys.clear();
  for (const auto& [key, number] : numbers) axis.Keys.push_back(key);
  std::sort(axis.Keys.begin(), axis.Keys.end());
  std::vector<std::int32_t> rank(numbers.size());
  for (std::size_t i = 0; i < axis.Keys.size(); ++i) rank[static_cast<std::size_t>(numbers[axis.Keys[i]])] = static_cast<std::int32_t>(i);
  for (std::int32_t& number : axis.KeyNumber) number = rank[static_cast<std::size_t>(number)];

  axis.SourceRow.resize(sources.size());
  for (std::size_t s = 0; s < sources.size(); ++s)
    axis.SourceRow[s] = PlaceOf(rows, sources[s]) * static_cast<std::int32_t>(columns.size());
  axis.ObserverColumn.resize(observers.size());
  for (std::size_t o = 0; o < observers.size(); ++o) axis.ObserverColumn[o] = PlaceOf(columns, observers[o]);
  return true;
}

// The value of one key point at the plane distance z, or NaN where the rule is
// not the same for every offset of the key: k R0 within 1e-8 of 1 at the key,
// while offsets sharing it move k^2 R0^2 by some 1e-15 k only.
Complex PointValue(const CellOffsetGrid& grid, double k, double z, std::int64_t qx, std::int64_t qy) {
  const double cx = static_cast<double>(qx) / KeysPerMetre, cy = static_cast<double>(qy) / KeysPerMetre;
  const double kr2 = k * k * (cx * cx + cy * cy + z * z);
  if (std::fabs(kr2 - 1.0) <= 1e-8) return {std::numeric_limits<double>::quiet_NaN(), 0.0};
  return KeyedCellIntegral(k, z, qx, qy, grid.Size.Qx, grid.Size.Qy, kr2 > 1.0 ? 1u : 0u);
}

}  // namespace

bool PlanCellOffsetGrid(CellOffsetGrid& grid, const CellSizeKey& size,
                        const std::vector<PlanePoint>& sources, const std::vector<PlanePoint>& observers) {
  grid = CellOffsetGrid{};
  grid.Size = size;
  grid.Pairs = static_cast<std::int64_t>(sources.size()) * static_cast<std::int64_t>(observers.size());
  AxisCoordinates x, y;
  if (!x.Take(sources, observers, true) || !y.Take(sources, observers, false)) return false;
  // The rectangle stays below an eighth of the pairs: at 16 bytes a point (32 with
  // a ground plane) it takes at most an eighth (a quarter) of the memory of the
  // pairs' matrix entries or potentials, on a snap grid far less (some 4 % on a
  // 2000-unknown board), and less than the per-worker caches it replaces, which
  // hold every distinct key in every worker in slots of 48 bytes.
  const auto largest = std::min(LargestKeyRectangle, static_cast<std::size_t>(grid.Pairs / 8));
  const std::size_t fewestY = std::max<std::size_t>(1, y.FewestKeys());
  if (x.FewestKeys() * fewestY > largest || !PlanAxis(grid.X, x, largest / fewestY)) return false;
  return PlanAxis(grid.Y, y, largest / std::max<std::size_t>(1, grid.X.Keys.size()));
}

void MarkNeededOffsets(CellOffsetGrid& grid, std::int32_t first, std::int32_t end) {
  const auto observers = static_cast<std::int32_t>(grid.X.ObserverColumn.size());
  for (std::int32_t s = first; s < end; ++s) {
    const GridColumn column(grid, s);
    for (std::int32_t o = 0; o < observers; ++o)
      std::atomic_ref<std::uint8_t>(grid.Needed[column.Slot(o)]).store(1, std::memory_order_relaxed);
  }
}

// A key point costs some hundred times the marking of one pair.
bool MarkingPays(const CellOffsetGrid& grid) {
  return static_cast<std::int64_t>(grid.Points()) * 128 > grid.Pairs;
}

void MarkAllOffsets(CellOffsetGrid& grid) { grid.Needed.assign(grid.Points(), 1); }

void PrepareGridValues(CellOffsetGrid& grid, bool image) {
  if (grid.Needed.size() != grid.Points()) grid.Needed.assign(grid.Points(), 0);
  // Points no pair named stay NaN: a read there would still get the cache's value.
  const Complex unset{std::numeric_limits<double>::quiet_NaN(), 0.0};
  grid.Free.assign(grid.Points(), unset);
  grid.Mirror.assign(image ? grid.Points() : 0, unset);
}

void ComputeGridValues(CellOffsetGrid& grid, double k, double mirrorDistance, std::size_t first,
                       std::size_t end) {
  const std::size_t xKeys = grid.X.Keys.size();
  const bool image = !grid.Mirror.empty();
  for (std::size_t p = first; p < end; ++p) {
    if (!grid.Needed[p]) continue;
    const std::int64_t qx = grid.X.Keys[p % xKeys], qy = grid.Y.Keys[p / xKeys];
    grid.Free[p] = PointValue(grid, k, 0.0, qx, qy);
    if (image) grid.Mirror[p] = PointValue(grid, k, mirrorDistance, qx, qy);
  }
}

GriddedSources GroupBySize(const std::vector<PlanePoint>& centres, const std::vector<CellSizeKey>& sizes,
                           const std::vector<std::uint8_t>& skip,
                           std::vector<std::vector<PlanePoint>>& members) {
  GriddedSources gridded;
  gridded.Grid.assign(centres.size(), -1);
  gridded.Index.assign(centres.size(), -1);
  members.clear();
  std::map<std::pair<std::int64_t, std::int64_t>, std::int32_t> groups;
  for (std::size_t s = 0; s < centres.size(); ++s) {
    if ((!skip.empty() && skip[s]) || sizes[s].Qx < 0 || sizes[s].Qy < 0) continue;
    const auto [it, added] = groups.try_emplace({sizes[s].Qx, sizes[s].Qy}, static_cast<std::int32_t>(members.size()));
    if (added) {
      members.emplace_back();
      gridded.Grids.emplace_back().Size = sizes[s];
    }
    std::vector<PlanePoint>& group = members[static_cast<std::size_t>(it->second)];
    gridded.Grid[s] = it->second;
    gridded.Index[s] = static_cast<std::int32_t>(group.size());
    group.push_back(centres[s]);
  }
  return gridded;
}

void DropUnplannedGrids(GriddedSources& gridded, const std::vector<std::uint8_t>& planned) {
  for (std::int32_t& g : gridded.Grid)
    if (g >= 0 && !planned[static_cast<std::size_t>(g)]) g = -1;
  for (std::size_t g = 0; g < gridded.Grids.size(); ++g)
    if (!planned[g]) gridded.Grids[g] = CellOffsetGrid{};
}

}  // namespace lumetra
