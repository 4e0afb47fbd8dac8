#include "solver/interaction_fill.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "solver/current_block_fill.h"
#include "solver/fill_context.h"
#include "solver/fill_grids.h"
#include "solver/ground_point_fill.h"
#include "solver/parallel_pieces.h"

namespace lumetra {

namespace {

void RequireShape(const ComplexMatrix* m, const char* name, std::int32_t rows, std::int32_t cols) {
  if (!m) throw std::invalid_argument(std::string("matrix block ") + name + " is missing");
  if (m->Rows() != rows || m->Cols() != cols)
    throw std::invalid_argument(std::string("matrix block ") + name + " is " + std::to_string(m->Rows()) +
                                " x " + std::to_string(m->Cols()) + ", the layout needs " +
                                std::to_string(rows) + " x " + std::to_string(cols));
}

// Checks the blocks against the layout and tells where the ground points go.
std::optional<GroundPointBlocks> CheckBlocks(const FillRequest& request, const SystemMatrices& z) {
  const ElementLists& e = request.Elements;
  const std::int32_t nx = e.NX(), ny = e.NY(), ng = e.NG();
  switch (request.GroundPoints) {
    case GroundPointPlacement::None:
      if (nx > 0) RequireShape(z.Zxx, "Zxx", nx, nx);
      if (ny > 0) RequireShape(z.Zyy, "Zyy", ny, ny);
      if (nx > 0 && ny > 0) {
        RequireShape(z.Zxy, "Zxy", nx, ny);
        RequireShape(z.Zyx, "Zyx", ny, nx);
      }
      return std::nullopt;
    case GroundPointPlacement::AfterJx: {
      if (ny > 0) throw std::invalid_argument("ground points after the Jx unknowns need a layout without Jy");
      RequireShape(z.Zxx, "Zxx", nx + ng, nx + ng);
      GroundPointBlocks b;
      b.Xz = z.Zxx, b.XzColumn = nx;
      b.Zx = z.Zxx, b.ZxRow = nx;
      b.Zz = z.Zxx, b.ZzOffset = nx;
      return b;
    }
    case GroundPointPlacement::AfterJy: {
      RequireShape(z.Zyy, "Zyy", ny + ng, ny + ng);
      GroundPointBlocks b;
      if (nx > 0) {
        RequireShape(z.Zxx, "Zxx", nx, nx);
        RequireShape(z.Zxy, "Zxy", nx, ny + ng);
        RequireShape(z.Zyx, "Zyx", ny + ng, nx);
        b.Xz = z.Zxy, b.XzColumn = ny;
        b.Zx = z.Zyx, b.ZxRow = ny;
      }
      b.Yz = z.Zyy, b.YzColumn = ny;
      b.Zy = z.Zyy, b.ZyRow = ny;
      b.Zz = z.Zyy, b.ZzOffset = ny;
      return b;
    }
  }
  return std::nullopt;
}

// A run of columns of one current block: the unit of work of the entry phase.
struct ColumnRun {
  std::size_t Block;
  std::int32_t First, End;
};

// Cuts the columns of the blocks into runs of about `entries` matrix entries each
// (a millisecond or so of work), so that Abort is felt at once and both threads
// stay busy to the end.
std::vector<ColumnRun> CutIntoRuns(const std::vector<CurrentBlock>& blocks, const ElementLists& e,
                                   std::int64_t entries) {
  std::vector<ColumnRun> runs;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const CurrentBlock& block = blocks[b];
    const std::int32_t columns = block.Source == CurrentAxis::X ? e.NX() : e.NY();
    const std::int32_t rows = block.Testing == CurrentAxis::X ? e.NX() : e.NY();
    std::int32_t first = 0;
    while (first < columns) {
      std::int64_t work = 0;
      std::int32_t end = first;
      while (end < columns && work < entries) {
        work += block.Symmetric ? std::max(end, 1) : rows;
        ++end;
      }
      runs.push_back({b, first, end});
      first = end;
    }
  }
  return runs;
}

// A charge cell of a one-cell-wide strip: its column, its image's column and its
// self integral with the edge-singular distribution (the strip integral holds at
// the cell's own centre too).
void FillStripChargeColumn(FillContext& context, std::int32_t q, WorkerScratch& own) {
  const ChargeCell& cell = context.Elements.Charges[static_cast<std::size_t>(q)];
  const StripAxis axis = context.Strips.Charges[static_cast<std::size_t>(q)];
  const std::vector<PlanePoint>& observers = context.Geometry.Observers;
  const auto offset = static_cast<std::size_t>(q) * observers.size();
  for (std::size_t o = 0; o < observers.size(); ++o) {
    context.Free.Values[offset + o] = StripChargeIntegral(cell, axis, observers[o].X, observers[o].Y, own.StripFree);
    if (context.Image)
      context.Mirror.Values[offset + o] =
          StripChargeIntegral(cell, axis, observers[o].X, observers[o].Y, own.StripMirror);
  }
  context.ChargeSelf[static_cast<std::size_t>(q)] = StripChargeIntegral(cell, axis, cell.X, cell.Y, own.StripFree);
}

// Sizes the charge tables: done before the first poll, like the rest of the setup
// on the calling thread.
void PrepareChargeTables(FillContext& context) {
  const std::size_t cells = context.Elements.Charges.size(), observers = context.Geometry.Observers.size();
  PrepareChargeTable(context.Free, cells, observers);
  if (context.Image) PrepareChargeTable(context.Mirror, cells, observers);
  context.ChargeSelf.assign(cells, Complex{});
}

// Phase 1: the potential of every charge cell at every observation point (and
// from 2h), and every cell's self integral.
bool FillChargeTables(FillContext& context, std::vector<WorkerScratch>& scratch,
                      ComputationControl& control) {
  const std::vector<ChargeCell>& cells = context.Elements.Charges;
  const std::vector<PlanePoint>& observers = context.Geometry.Observers;
  // About 4000 integrals a piece: a few milliseconds even when none repeats.
  const auto cellsPerPiece =
      std::max<std::int64_t>(1, 4096 / std::max<std::int64_t>(1, static_cast<std::int64_t>(observers.size())));
  const auto cellCount = static_cast<std::int64_t>(cells.size());
  return RunPiecesWhilePolling(
      (cellCount + cellsPerPiece - 1) / cellsPerPiece, static_cast<int>(scratch.size()),
      [&](std::int64_t piece, int worker) {
        WorkerScratch& own = scratch[static_cast<std::size_t>(worker)];
        const std::int64_t end = std::min(cellCount, (piece + 1) * cellsPerPiece);
        for (auto q = static_cast<std::int32_t>(piece * cellsPerPiece); q < end; ++q) {
          if (context.Strips.ChargeOnStrip(q)) {
            FillStripChargeColumn(context, q, own);
            continue;
          }
          const CellOffsetGrid* grid = context.ChargeGrids.GridOf(q);
          const std::int32_t index = grid ? context.ChargeGrids.Index[static_cast<std::size_t>(q)] : 0;
          std::optional<GridValues> free, mirror;
          if (grid) free.emplace(*grid, index, grid->Free);
          if (grid && context.Image) mirror.emplace(*grid, index, grid->Mirror);
          FillChargeColumn(context.Free, q, cells, observers, own.Free, free ? &*free : nullptr);
          if (context.Image)
            FillChargeColumn(context.Mirror, q, cells, observers, own.Mirror, mirror ? &*mirror : nullptr);
          const ChargeCell& cell = cells[static_cast<std::size_t>(q)];
          context.ChargeSelf[static_cast<std::size_t>(q)] = CScale(own.Self.Integral(cell.Dx / 2, cell.Dy / 2), 4.0);
        }
      },
      control);
}

// Phase 2: runs of columns of the current blocks, then one piece per ground point
// (its column, its row and its row of the zz block).
bool FillEntries(const FillContext& context, const std::vector<CurrentBlock>& blocks,
                 const GroundPointBlocks* groundBlocks, std::vector<WorkerScratch>& scratch,
                 ComputationControl& control) {
  const std::vector<ColumnRun> runs = CutIntoRuns(blocks, context.Elements, 4096);
  const auto runCount = static_cast<std::int64_t>(runs.size());
  const std::int64_t groundCount = groundBlocks ? context.Elements.NG() : 0;
  return RunPiecesWhilePolling(
      runCount + groundCount, static_cast<int>(scratch.size()),
      [&](std::int64_t piece, int worker) {
        WorkerScratch& own = scratch[static_cast<std::size_t>(worker)];
        if (piece < runCount) {
          const ColumnRun& run = runs[static_cast<std::size_t>(piece)];
          FillCurrentColumns(context, blocks[run.Block], run.First, run.End, own);
        } else {
          FillGroundPoint(context, *groundBlocks, static_cast<std::int32_t>(piece - runCount), own);
        }
      },
      control);
}

// Phase 3: in the symmetric blocks the diagonal and the lower triangle are copies.
bool CopySymmetricHalves(const ElementLists& elements, const std::vector<CurrentBlock>& blocks,
                         int workers, ComputationControl& control) {
  std::vector<CurrentBlock> symmetric;
  for (const CurrentBlock& b : blocks)
    if (b.Symmetric) symmetric.push_back({b.Matrix, b.Testing, b.Source, false});
  if (symmetric.empty()) return true;
  const std::vector<ColumnRun> runs = CutIntoRuns(symmetric, elements, 65536);
  return RunPiecesWhilePolling(
      static_cast<std::int64_t>(runs.size()), workers,
      [&](std::int64_t piece, int) {
        const ColumnRun& run = runs[static_cast<std::size_t>(piece)];
        const CurrentBlock& block = symmetric[run.Block];
        const std::int32_t order = block.Source == CurrentAxis::X ? elements.NX() : elements.NY();
        MirrorSymmetricColumns(*block.Matrix, order, run.First, run.End);
      },
      control);
}

}  // namespace

bool FillInteractionMatrices(const FillRequest& request, SystemMatrices& matrices,
                             ComputationControl& control) {
  const ElementLists& elements = request.Elements;
  const std::optional<GroundPointBlocks> groundBlocks = CheckBlocks(request, matrices);
  const bool groundPoints = groundBlocks.has_value() && elements.NG() > 0;

  FillContext context(elements, request.Constants);
  context.Image = request.Image || groundPoints;  // with ground points the image always enters
  context.Accuracy = request.Accuracy;
  if (request.Accuracy == SolverAccuracy::High) context.Strips = FindOneCellWideStrips(elements);
  const bool symX = elements.SymX && StripsKeepSymmetry(context.Strips, true);
  const bool symY = elements.SymY && StripsKeepSymmetry(context.Strips, false);

  std::vector<CurrentBlock> blocks;
  blocks.reserve(4);
  if (elements.NX() > 0) blocks.push_back({matrices.Zxx, CurrentAxis::X, CurrentAxis::X, symX});
  if (elements.NX() > 0 && elements.NY() > 0) {
    blocks.push_back({matrices.Zxy, CurrentAxis::X, CurrentAxis::Y, false});
    blocks.push_back({matrices.Zyx, CurrentAxis::Y, CurrentAxis::X, false});
  }
  if (elements.NY() > 0) blocks.push_back({matrices.Zyy, CurrentAxis::Y, CurrentAxis::Y, symY});
  if (blocks.empty() && !groundPoints) return !control.PumpAndCheckAbort();

  std::vector<WorkerScratch> scratch;
  const int workers = FillWorkerCount();
  scratch.reserve(static_cast<std::size_t>(workers));
  for (int w = 0; w < workers; ++w) scratch.emplace_back(request.Constants.K, context.MirrorDistance(),
                                                     request.Accuracy == SolverAccuracy::High);

  PrepareChargeTables(context);
  return FillOffsetGrids(context, workers, control) && FillChargeTables(context, scratch, control) &&
         FillEntries(context, blocks, groundPoints ? &*groundBlocks : nullptr, scratch, control) &&
         CopySymmetricHalves(elements, blocks, workers, control);
}

}  // namespace lumetra
