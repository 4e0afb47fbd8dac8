#include "solver/fill_grids.h"

#include <algorithm>
#include <functional>

#include "solver/parallel_pieces.h"

namespace lumetra {

namespace {

// One kind of source with the points it is seen from, and its groups' centres.
struct SourceKind {
  GriddedSources* Gridded;
  std::vector<PlanePoint> Observers;
  std::vector<std::vector<PlanePoint>> Members;
};

SourceKind GroupElements(GriddedSources& gridded, const std::vector<CurrentCell>& elements,
                         const std::vector<std::uint8_t>& onStrip) {
  SourceKind kind{&gridded, {}, {}};
  std::vector<CellSizeKey> sizes;
  for (const CurrentCell& e : elements) {
    kind.Observers.push_back({e.X, e.Y});
    sizes.push_back(CellIntegralCache::SizeKey(e.Dx, e.Dy));
  }
  gridded = GroupBySize(kind.Observers, sizes, onStrip, kind.Members);
  return kind;
}

SourceKind GroupCharges(FillContext& context) {
  const std::vector<ChargeCell>& charges = context.Elements.Charges;
  SourceKind kind{&context.ChargeGrids, context.Geometry.Observers, {}};
  std::vector<PlanePoint> centres;
  std::vector<CellSizeKey> sizes;
  std::vector<std::uint8_t> onStrip(charges.size(), 0);
  for (std::size_t q = 0; q < charges.size(); ++q) {
    centres.push_back({charges[q].X, charges[q].Y});
    sizes.push_back(CellIntegralCache::SizeKey(charges[q].Dx, charges[q].Dy));
    onStrip[q] = context.Strips.ChargeOnStrip(static_cast<std::int32_t>(q)) ? 1 : 0;
  }
  context.ChargeGrids = GroupBySize(centres, sizes, onStrip, kind.Members);
  return kind;
}

// Runs work(item) for every item on the workers, one piece each.
template <typename Item>
bool RunEach(const std::vector<Item>& items, int workers, ComputationControl& control,
             const std::function<void(const Item&)>& work) {
  return RunPiecesWhilePolling(
      static_cast<std::int64_t>(items.size()), workers,
      [&](std::int64_t piece, int) { work(items[static_cast<std::size_t>(piece)]); }, control);
}

struct GridToPlan {
  SourceKind* Kind;
  std::size_t Grid;
};

// A piece of work on one grid: sources [First, End) to mark, or key points to compute.
struct GridPiece {
  CellOffsetGrid* Grid;
  std::int64_t First, End;
};

}  // namespace

bool FillOffsetGrids(FillContext& context, int workers, ComputationControl& control) {
  const ElementLists& e = context.Elements;
  std::vector<SourceKind> kinds;
  kinds.reserve(3);
  kinds.push_back(GroupCharges(context));
  kinds.push_back(GroupElements(context.JxGrids, e.Jx, context.Strips.Jx));
  kinds.push_back(GroupElements(context.JyGrids, e.Jy, context.Strips.Jy));

  // Planning: one piece per grid.
  std::vector<GridToPlan> toPlan;
  std::vector<std::vector<std::uint8_t>> planned;
  for (SourceKind& kind : kinds) {
    planned.emplace_back(kind.Gridded->Grids.size(), 0);
    for (std::size_t g = 0; g < kind.Gridded->Grids.size(); ++g) toPlan.push_back({&kind, g});
  }
  if (!RunEach<GridToPlan>(toPlan, workers, control, [&](const GridToPlan& p) {
        CellOffsetGrid& grid = p.Kind->Gridded->Grids[p.Grid];
        const CellSizeKey size = grid.Size;
        planned[static_cast<std::size_t>(p.Kind - kinds.data())][p.Grid] =
            PlanCellOffsetGrid(grid, size, p.Kind->Members[p.Grid], p.Kind->Observers) ? 1 : 0;
      }))
    return false;
  for (std::size_t k = 0; k < kinds.size(); ++k) DropUnplannedGrids(*kinds[k].Gridded, planned[k]);

  // Some 64k pairs marked, or 512 key points computed, a piece: well below a millisecond.
  constexpr std::int64_t PairsPerPiece = 65536, PointsPerPiece = 512;
  std::vector<GridPiece> marking, computing;
  for (const SourceKind& kind : kinds)
    for (CellOffsetGrid& grid : kind.Gridded->Grids) {
      if (grid.Points() == 0) continue;
      if (MarkingPays(grid)) {
        PrepareGridValues(grid, context.Image);
        const auto sources = static_cast<std::int64_t>(grid.X.SourceRow.size());
        const auto observers = std::max<std::int64_t>(1, static_cast<std::int64_t>(grid.X.ObserverColumn.size()));
        const std::int64_t step = std::max<std::int64_t>(1, PairsPerPiece / observers);
        for (std::int64_t s = 0; s < sources; s += step) marking.push_back({&grid, s, std::min(sources, s + step)});
      } else {
        MarkAllOffsets(grid);
        PrepareGridValues(grid, context.Image);
      }
      const auto points = static_cast<std::int64_t>(grid.Points());
      for (std::int64_t p = 0; p < points; p += PointsPerPiece)
        computing.push_back({&grid, p, std::min(points, p + PointsPerPiece)});
    }
  const double k = context.Constants.K, mirrorDistance = context.MirrorDistance();
  return RunEach<GridPiece>(marking, workers, control,
                            [](const GridPiece& p) {
                              MarkNeededOffsets(*p.Grid, static_cast<std::int32_t>(p.First),
                                                static_cast<std::int32_t>(p.End));
                            }) &&
         RunEach<GridPiece>(computing, workers, control, [&](const GridPiece& p) {
           ComputeGridValues(*p.Grid, k, mirrorDistance, static_cast<std::size_t>(p.First),
                             static_cast<std::size_t>(p.End));
         });
}

}  // namespace lumetra
