#include "solver/reciprocal_symmetry.h"

#include <algorithm>
#include <cmath>

namespace lumetra {

namespace {

// One square block (Zxx or Zyy) or the pair of off-diagonal blocks (Zxy with
// Zyx), walked over the pairs (n, m) with their mirrored entry (m, n).
struct BlockPair {
  ComplexMatrix* rows;     // Z_nm
  ComplexMatrix* columns;  // Z_mn (the same matrix for a square block)
  const std::vector<double>* rowWidths;
  const std::vector<double>* columnWidths;
  bool square;
};

std::vector<BlockPair> PairsOf(const SystemMatrices& m, const std::vector<double>& wx,
                               const std::vector<double>& wy) {
  std::vector<BlockPair> pairs;
  if (m.Zxx) pairs.push_back({m.Zxx, m.Zxx, &wx, &wx, true});
  if (m.Zyy) pairs.push_back({m.Zyy, m.Zyy, &wy, &wy, true});
  if (m.Zxy && m.Zyx) pairs.push_back({m.Zxy, m.Zyx, &wx, &wy, false});
  return pairs;
}

// Calls visit(a, b, wa, wb) for every reaction pair a = Z_nm, b = Z_mn, once each.
template <typename Visit>
void ForEachReactionPair(const SystemMatrices& matrices, const ElementLists& elements,
                         GroundPointPlacement groundPoints, Visit visit) {
  const std::vector<double> wx =
      UnknownWidths(elements, true, groundPoints == GroundPointPlacement::AfterJx);
  const std::vector<double> wy =
      UnknownWidths(elements, false, groundPoints == GroundPointPlacement::AfterJy);
  for (const BlockPair& p : PairsOf(matrices, wx, wy)) {
    const auto rows = static_cast<std::int32_t>(p.rowWidths->size());
    const auto columns = static_cast<std::int32_t>(p.columnWidths->size());
    for (std::int32_t n = 1; n <= rows; ++n)
      for (std::int32_t m = p.square ? n + 1 : 1; m <= columns; ++m)
        visit((*p.rows)(n, m), (*p.columns)(m, n), (*p.rowWidths)[static_cast<std::size_t>(n - 1)],
              (*p.columnWidths)[static_cast<std::size_t>(m - 1)]);
  }
}

}  // namespace

std::vector<double> UnknownWidths(const ElementLists& elements, bool alongX, bool withGroundPoints) {
  std::vector<double> widths;
  for (const CurrentCell& cell : alongX ? elements.Jx : elements.Jy)
    widths.push_back(alongX ? cell.Dy : cell.Dx);
  if (withGroundPoints)
    for (const GroundContact& g : elements.GroundPoints) {
      const ChargeCell& cell = elements.Charges[static_cast<std::size_t>(g.ChargeNo - 1)];
      widths.push_back(g.OnXEdge ? cell.Dy : cell.Dx);
    }
  return widths;
}

void SymmetriseReactions(const SystemMatrices& matrices, const ElementLists& elements,
                         GroundPointPlacement groundPoints) {
  ForEachReactionPair(matrices, elements, groundPoints,
                      [](Complex& a, Complex& b, double wn, double wm) {
    // mean of w_n Z_nm and w_m Z_mn, handed back to each entry by its own width
    const double re = 0.5 * (wn * a.Re + wm * b.Re), im = 0.5 * (wn * a.Im + wm * b.Im);
    a = {re / wn, im / wn};
    b = {re / wm, im / wm};
  });
}

double ReciprocityDefect(const SystemMatrices& matrices, const ElementLists& elements,
                         GroundPointPlacement groundPoints) {
  double largest = 0.0, defect = 0.0;
  ForEachReactionPair(matrices, elements, groundPoints,
                      [&](Complex& a, Complex& b, double wn, double wm) {
    largest = std::max({largest, wn * CAbs(a), wm * CAbs(b)});
    defect = std::max(defect, std::hypot(wn * a.Re - wm * b.Re, wn * a.Im - wm * b.Im));
  });
  return largest > 0.0 ? defect / largest : 0.0;
}

}  // namespace lumetra
