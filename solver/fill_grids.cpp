#include "solver/fill_grids.h"

#include <algorithm>

#include "solver/parallel_pieces.h"

namespace lumetra {

namespace {

GriddedSources PlanElementGrids(const std::vector<CurrentCell>& elements, const std::vector<std::uint8_t>& onStrip) {
  std::vector<PlanePoint> centres;
  std::vector<CellSizeKey> sizes;
  centres.reserve(elements.size());
  sizes.reserve(elements.size());
  for (const CurrentCell& e : elements) {
    centres.push_back({e.X, e.Y});
    sizes.push_back(CellIntegralCache::SizeKey(e.Dx, e.Dy));
  }
  return PlanGriddedSources(centres, sizes, onStrip, centres);
}

std::vector<CellOffsetGrid*> AllGrids(FillContext& context) {
  std::vector<CellOffsetGrid*> all;
  for (GriddedSources* kind : {&context.ChargeGrids, &context.JxGrids, &context.JyGrids})
    for (CellOffsetGrid& grid : kind->Grids) all.push_back(&grid);
  return all;
}

// A piece of work on one grid: sources [First, End) to mark, or key points to compute.
struct GridPiece {
  CellOffsetGrid* Grid;
  std::int64_t First, End;
};

bool RunGridPieces(const std::vector<GridPiece>& pieces, int workers, ComputationControl& control,
                   void (*work)(const GridPiece&, const FillContext&), const FillContext& context) {
  return RunPiecesWhilePolling(
      static_cast<std::int64_t>(pieces.size()), workers,
      [&](std::int64_t piece, int) { work(pieces[static_cast<std::size_t>(piece)], context); }, control);
}

}  // namespace

void PlanFillGrids(FillContext& context) {
  const ElementLists& e = context.Elements;
  std::vector<PlanePoint> centres;
  std::vector<CellSizeKey> sizes;
  std::vector<std::uint8_t> onStrip(e.Charges.size(), 0);
  for (std::size_t q = 0; q < e.Charges.size(); ++q) {
    centres.push_back({e.Charges[q].X, e.Charges[q].Y});
    sizes.push_back(CellIntegralCache::SizeKey(e.Charges[q].Dx, e.Charges[q].Dy));
    onStrip[q] = context.Strips.ChargeOnStrip(static_cast<std::int32_t>(q)) ? 1 : 0;
  }
  context.ChargeGrids = PlanGriddedSources(centres, sizes, onStrip, context.Geometry.Observers);
  context.JxGrids = PlanElementGrids(e.Jx, context.Strips.Jx);
  context.JyGrids = PlanElementGrids(e.Jy, context.Strips.Jy);
}

bool ComputeFillGrids(FillContext& context, int workers, ComputationControl& control) {
  // Some 64k pairs marked, or 512 key points computed, a piece: well below a millisecond.
  constexpr std::int64_t PairsPerPiece = 65536, PointsPerPiece = 512;
  std::vector<GridPiece> marking, computing;
  for (CellOffsetGrid* grid : AllGrids(context)) {
    if (MarkingPays(*grid)) {
      PrepareGridValues(*grid, context.Image);
      const auto sources = static_cast<std::int64_t>(grid->X.SourceRow.size());
      const std::int64_t observers = std::max<std::int64_t>(1, static_cast<std::int64_t>(grid->X.ObserverColumn.size()));
      const std::int64_t step = std::max<std::int64_t>(1, PairsPerPiece / observers);
      for (std::int64_t s = 0; s < sources; s += step) marking.push_back({grid, s, std::min(sources, s + step)});
    } else {
      MarkAllOffsets(*grid);
      PrepareGridValues(*grid, context.Image);
    }
    const auto points = static_cast<std::int64_t>(grid->Points());
    for (std::int64_t p = 0; p < points; p += PointsPerPiece)
      computing.push_back({grid, p, std::min(points, p + PointsPerPiece)});
  }
  return RunGridPieces(marking, workers, control,
                       [](const GridPiece& piece, const FillContext&) {
                         MarkNeededOffsets(*piece.Grid, static_cast<std::int32_t>(piece.First),
                                           static_cast<std::int32_t>(piece.End));
                       },
                       context) &&
         RunGridPieces(computing, workers, control,
                       [](const GridPiece& piece, const FillContext& c) {
                         ComputeGridValues(*piece.Grid, c.Constants.K, c.MirrorDistance(),
                                           static_cast<std::size_t>(piece.First),
                                           static_cast<std::size_t>(piece.End));
                       },
                       context);
}

}  // namespace lumetra
