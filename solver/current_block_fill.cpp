#include "solver/current_block_fill.h"

#include <algorithm>
#include <optional>

namespace lumetra {

namespace {

const std::vector<CurrentCell>& ElementsAlong(const ElementLists& elements, CurrentAxis axis) {
  return axis == CurrentAxis::X ? elements.Jx : elements.Jy;
}

double LengthAlong(CurrentAxis axis, double dx, double dy) { return axis == CurrentAxis::X ? dx : dy; }

// What every entry of one block shares.
struct BlockTerms {
  const std::vector<CurrentCell>* Testing;
  const CurrentEndPoints* Ends;
  CurrentAxis TestingAxis;
  bool SameDirection, Image;
  double VectorFactor;
  double OverScalarDenominator;  // 1 / ScalarDenominator()
};

// What every entry of one source column shares.
struct SourceTerms {
  std::int32_t M, Q1, Q2;
  double OverD1, OverD2;  // 1 / d1, 1 / d2
  const Complex *Free1, *Free2, *Mirror1, *Mirror2;
  Complex Self1, Self2, SourceSelf;
  const CurrentCell* Source;
  CellSizeKey SourceSize;
  bool SourceAlongX, StripSource;
  std::optional<GridValues> FreeGrid, MirrorGrid;
};

[[gnu::noinline]] Complex FromCache(CellIntegralCache& cache, const SourceTerms& c, const CurrentCell& test) {
  return cache.Integral(c.SourceSize, c.Source->X, c.Source->Y, test.X, test.Y);
}

// The grid's value where it has one, else the cache's.
inline Complex Memoised(const std::optional<GridValues>& grid, CellIntegralCache& cache, const SourceTerms& c,
                        const CurrentCell& test, std::int32_t n) {
  if (grid) {
    const Complex tabulated = grid->At(n);
    if (!AskTheCache(tabulated)) return tabulated;
  }
  return FromCache(cache, c, test);
}

// Entry (n, m) divided by j. Only a few rows of a column have an end point on the
// centre of one of the source's charge cells (or are the diagonal); all others
// skip those checks, with the same arithmetic.
template <bool SelfForms>
Complex EntryOverJ(const BlockTerms& b, const SourceTerms& c, std::int32_t n, WorkerScratch& scratch) {
  const CurrentEndPoints& ends = *b.Ends;
  const std::int32_t plus = ends.PlusObserver[static_cast<std::size_t>(n)];
  const std::int32_t minus = ends.MinusObserver[static_cast<std::size_t>(n)];
  Complex a1 = c.Free1[plus], a2 = c.Free1[minus], a3 = c.Free2[plus], a4 = c.Free2[minus];
  bool diagonal = false;
  if constexpr (SelfForms) {
    diagonal = b.SameDirection && n == c.M;
    if (ends.PlusCoincident.Contains(n, c.Q1)) a1 = c.Self1;
    if (ends.MinusCoincident.Contains(n, c.Q2)) a4 = c.Self2;
    if (b.SameDirection) {
      if (diagonal) a2 = c.Self1, a3 = c.Self2;
    } else {
      if (ends.MinusCoincident.Contains(n, c.Q1)) a2 = c.Self1;
      if (ends.PlusCoincident.Contains(n, c.Q2)) a3 = c.Self2;
    }
  }
  Complex sum = CScale(CSub(CScale(CSub(a1, a2), c.OverD1), CScale(CSub(a3, a4), c.OverD2)),
                       b.OverScalarDenominator);
  if (b.Image) {
    const Complex t = CSub(CScale(CSub(c.Mirror1[plus], c.Mirror1[minus]), c.OverD1),
                           CScale(CSub(c.Mirror2[plus], c.Mirror2[minus]), c.OverD2));
    sum = CSub(sum, CScale(t, b.OverScalarDenominator));
  }
  if (b.SameDirection) {
    const CurrentCell& test = (*b.Testing)[static_cast<std::size_t>(n)];
    Complex integral =
        diagonal ? c.SourceSelf
        : c.StripSource
            ? StripCurrentIntegral(*c.Source, c.SourceAlongX, test.X, test.Y, scratch.StripFree)
            : Memoised(c.FreeGrid, scratch.Free, c, test, n);
    if (b.Image)
      integral = CSub(integral, c.StripSource ? StripCurrentIntegral(*c.Source, c.SourceAlongX, test.X, test.Y,
                                                                     scratch.StripMirror)
                                              : Memoised(c.MirrorGrid, scratch.Mirror, c, test, n));
    sum = CAdd(sum, CScale(integral, b.VectorFactor * LengthAlong(b.TestingAxis, test.Dx, test.Dy)));
  }
  return sum;
}

void AppendPoints(const PointsOnCharges& on, std::int32_t charge, std::vector<std::int32_t>& rows) {
  for (std::int32_t i = on.Start[static_cast<std::size_t>(charge)]; i < on.Start[static_cast<std::size_t>(charge) + 1]; ++i)
    rows.push_back(on.Points[static_cast<std::size_t>(i)]);
}

}  // namespace

void FillCurrentColumns(const FillContext& context, const CurrentBlock& block, std::int32_t first,
                        std::int32_t end, WorkerScratch& scratch) {
  const std::vector<CurrentCell>& sources = ElementsAlong(context.Elements, block.Source);
  const std::vector<ChargeCell>& charges = context.Elements.Charges;
  BlockTerms b;
  b.Testing = &ElementsAlong(context.Elements, block.Testing);
  b.Ends = block.Testing == CurrentAxis::X ? &context.Geometry.Jx : &context.Geometry.Jy;
  b.TestingAxis = block.Testing;
  b.SameDirection = block.Testing == block.Source;
  b.Image = context.Image;
  b.VectorFactor = context.VectorFactor();
  b.OverScalarDenominator = 1.0 / context.ScalarDenominator();
  const auto rowCount = static_cast<std::int32_t>(b.Testing->size());
  ComplexMatrix& z = *block.Matrix;
  std::vector<std::int32_t> selfRows;

  for (std::int32_t m = first; m < end; ++m) {
    SourceTerms c;
    const CurrentCell& source = sources[static_cast<std::size_t>(m)];
    c.M = m;
    c.Source = &source;
    c.Q1 = source.Negative - 1, c.Q2 = source.Positive - 1;
    const ChargeCell& cell1 = charges[static_cast<std::size_t>(c.Q1)];
    const ChargeCell& cell2 = charges[static_cast<std::size_t>(c.Q2)];
    c.OverD1 = 1.0 / LengthAlong(block.Source, cell1.Dx, cell1.Dy);
    c.OverD2 = 1.0 / LengthAlong(block.Source, cell2.Dx, cell2.Dy);
    c.Free1 = context.Free.Column(c.Q1);
    c.Free2 = context.Free.Column(c.Q2);
    c.Mirror1 = b.Image ? context.Mirror.Column(c.Q1) : nullptr;
    c.Mirror2 = b.Image ? context.Mirror.Column(c.Q2) : nullptr;
    c.Self1 = context.ChargeSelf[static_cast<std::size_t>(c.Q1)];
    c.Self2 = context.ChargeSelf[static_cast<std::size_t>(c.Q2)];

    c.SourceSize = CellIntegralCache::SizeKey(source.Dx, source.Dy);
    // High accuracy: a one-cell-wide source carries the edge-singular distribution.
    c.SourceAlongX = block.Source == CurrentAxis::X;
    c.StripSource = b.SameDirection && context.Strips.ElementOnStrip(c.SourceAlongX, m);
    c.SourceSelf = !b.SameDirection ? Complex{}
                   : c.StripSource
                       ? StripCurrentIntegral(source, c.SourceAlongX, source.X, source.Y, scratch.StripFree)
                       : CScale(scratch.Self.Integral(source.Dx / 2, source.Dy / 2), 4.0);
    const GriddedSources& grids = c.SourceAlongX ? context.JxGrids : context.JyGrids;
    const CellOffsetGrid* grid = b.SameDirection && !c.StripSource ? grids.GridOf(m) : nullptr;
    if (grid) c.FreeGrid.emplace(*grid, grids.Index[static_cast<std::size_t>(m)], grid->Free);
    if (grid && b.Image) c.MirrorGrid.emplace(*grid, grids.Index[static_cast<std::size_t>(m)], grid->Mirror);

    // Symmetric blocks: rows above the diagonal, and the diagonal of the first column.
    const std::int32_t rowEnd = block.Symmetric ? (m == 0 ? 1 : m) : rowCount;
    Complex* column = &z(1, m + 1);
    // The rows whose entries take a self form: the diagonal, and those with an end
    // point on the centre of q1 or q2.
    selfRows.clear();
    if (b.SameDirection) selfRows.push_back(m);
    AppendPoints(b.Ends->PlusOnCharge, c.Q1, selfRows);
    AppendPoints(b.Ends->MinusOnCharge, c.Q2, selfRows);
    if (!b.SameDirection) {
      AppendPoints(b.Ends->MinusOnCharge, c.Q1, selfRows);
      AppendPoints(b.Ends->PlusOnCharge, c.Q2, selfRows);
    }
    // Every other row first (the diagonal is skipped, its neighbours rewritten below).
    const std::int32_t diagonalRow = b.SameDirection ? std::min(m, rowEnd) : rowEnd;
    for (std::int32_t n = 0; n < diagonalRow; ++n) column[n] = TimesJ(EntryOverJ<false>(b, c, n, scratch));
    for (std::int32_t n = diagonalRow + 1; n < rowEnd; ++n)
      column[n] = TimesJ(EntryOverJ<false>(b, c, n, scratch));
    for (std::int32_t n : selfRows)
      if (n < rowEnd) column[n] = TimesJ(EntryOverJ<true>(b, c, n, scratch));
  }
}

void MirrorSymmetricColumns(ComplexMatrix& matrix, std::int32_t order, std::int32_t first,
                            std::int32_t end) {
  const Complex corner = matrix(1, 1);
  for (std::int32_t c = std::max(first, 1); c < end; ++c) matrix(c + 1, c + 1) = corner;
  for (std::int32_t c = first; c < end; ++c)
    for (std::int32_t r = c + 1; r < order; ++r) matrix(r + 1, c + 1) = matrix(c + 1, r + 1);
}

}  // namespace lumetra
