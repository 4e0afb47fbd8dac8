#include "solver/current_block_fill.h"

#include <algorithm>

namespace lumetra {

namespace {

const std::vector<CurrentCell>& ElementsAlong(const ElementLists& elements, CurrentAxis axis) {
  return axis == CurrentAxis::X ? elements.Jx : elements.Jy;
}

double LengthAlong(CurrentAxis axis, double dx, double dy) { return axis == CurrentAxis::X ? dx : dy; }

}  // namespace

void FillCurrentColumns(const FillContext& context, const CurrentBlock& block, std::int32_t first,
                        std::int32_t end, WorkerScratch& scratch) {
  const std::vector<CurrentCell>& testing = ElementsAlong(context.Elements, block.Testing);
  const std::vector<CurrentCell>& sources = ElementsAlong(context.Elements, block.Source);
  const std::vector<ChargeCell>& charges = context.Elements.Charges;
  const CurrentEndPoints& ends = block.Testing == CurrentAxis::X ? context.Geometry.Jx : context.Geometry.Jy;
  const bool sameDirection = block.Testing == block.Source;
  const bool image = context.Image;
  const double vectorFactor = context.VectorFactor();
  const double scalarDenominator = context.ScalarDenominator();
  const auto rowCount = static_cast<std::int32_t>(testing.size());
  ComplexMatrix& z = *block.Matrix;

  for (std::int32_t m = first; m < end; ++m) {
    const CurrentCell& source = sources[static_cast<std::size_t>(m)];
    const std::int32_t q1 = source.Negative - 1, q2 = source.Positive - 1;
    const ChargeCell& cell1 = charges[static_cast<std::size_t>(q1)];
    const ChargeCell& cell2 = charges[static_cast<std::size_t>(q2)];
    const double d1 = LengthAlong(block.Source, cell1.Dx, cell1.Dy);
    const double d2 = LengthAlong(block.Source, cell2.Dx, cell2.Dy);
    const Complex* free1 = context.Free.Column(q1);
    const Complex* free2 = context.Free.Column(q2);
    const Complex* mirror1 = image ? context.Mirror.Column(q1) : nullptr;
    const Complex* mirror2 = image ? context.Mirror.Column(q2) : nullptr;
    const Complex self1 = context.ChargeSelf[static_cast<std::size_t>(q1)];
    const Complex self2 = context.ChargeSelf[static_cast<std::size_t>(q2)];

    const CellSizeKey sourceSize = CellIntegralCache::SizeKey(source.Dx, source.Dy);
    // High accuracy: a one-cell-wide source carries the edge-singular distribution.
    const bool sourceAlongX = block.Source == CurrentAxis::X;
    const bool stripSource = sameDirection && context.Strips.ElementOnStrip(sourceAlongX, m);
    const Complex sourceSelf =
        !sameDirection ? Complex{}
        : stripSource  ? StripCurrentIntegral(source, sourceAlongX, source.X, source.Y, scratch.StripFree)
                       : CScale(scratch.Self.Integral(source.Dx / 2, source.Dy / 2), 4.0);
    // Symmetric blocks: rows above the diagonal, and the diagonal of the first column.
    const std::int32_t rowEnd = block.Symmetric ? (m == 0 ? 1 : m) : rowCount;

    for (std::int32_t n = 0; n < rowEnd; ++n) {
      const std::int32_t plus = ends.PlusObserver[static_cast<std::size_t>(n)];
      const std::int32_t minus = ends.MinusObserver[static_cast<std::size_t>(n)];
      const bool diagonal = sameDirection && n == m;

      const Complex a1 = ends.PlusCoincident.Contains(n, q1) ? self1 : free1[plus];
      const Complex a4 = ends.MinusCoincident.Contains(n, q2) ? self2 : free2[minus];
      Complex a2, a3;
      if (sameDirection) {
        a2 = diagonal ? self1 : free1[minus];
        a3 = diagonal ? self2 : free2[plus];
      } else {
        a2 = ends.MinusCoincident.Contains(n, q1) ? self1 : free1[minus];
        a3 = ends.PlusCoincident.Contains(n, q2) ? self2 : free2[plus];
      }
      // Everything below is the entry divided by j.
      Complex sum = CScale(CSub(CScale(CSub(a1, a2), 1.0 / d1), CScale(CSub(a3, a4), 1.0 / d2)),
                           1.0 / scalarDenominator);
      if (image) {
        const Complex t = CSub(CScale(CSub(mirror1[plus], mirror1[minus]), 1.0 / d1),
                               CScale(CSub(mirror2[plus], mirror2[minus]), 1.0 / d2));
        sum = CSub(sum, CScale(t, 1.0 / scalarDenominator));
      }
      if (sameDirection) {
        const CurrentCell& test = testing[static_cast<std::size_t>(n)];
        Complex integral =
            diagonal      ? sourceSelf
            : stripSource ? StripCurrentIntegral(source, sourceAlongX, test.X, test.Y, scratch.StripFree)
                          : scratch.Free.Integral(sourceSize, source.X, source.Y, test.X, test.Y);
        if (image)
          integral = CSub(integral, stripSource ? StripCurrentIntegral(source, sourceAlongX, test.X, test.Y,
                                                                       scratch.StripMirror)
                                                : scratch.Mirror.Integral(sourceSize, source.X, source.Y,
                                                                          test.X, test.Y));
        sum = CAdd(sum, CScale(integral, vectorFactor * LengthAlong(block.Testing, test.Dx, test.Dy)));
      }
      z(n + 1, m + 1) = TimesJ(sum);
    }
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
