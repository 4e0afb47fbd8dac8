#include "solver/one_cell_wide_strips.h"

#include <algorithm>

namespace lumetra {

namespace {

constexpr std::uint8_t JoinedAlongX = 1, JoinedAlongY = 2;

void MarkOneCellWide(const std::vector<CurrentCell>& elements, const std::vector<StripAxis>& charges,
                     StripAxis axis, std::vector<std::uint8_t>& flags) {
  flags.assign(elements.size(), 0);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const CurrentCell& e = elements[i];
    flags[i] = charges[static_cast<std::size_t>(e.Negative - 1)] == axis &&
               charges[static_cast<std::size_t>(e.Positive - 1)] == axis;
  }
}

}  // namespace

OneCellWideStrips FindOneCellWideStrips(const ElementLists& elements) {
  std::vector<std::uint8_t> joined(elements.Charges.size(), 0);
  const auto join = [&](const std::vector<CurrentCell>& list, std::uint8_t how) {
    for (const CurrentCell& e : list)
      for (std::int32_t q : {e.Negative, e.Positive})
        if (q >= 1 && static_cast<std::size_t>(q) <= joined.size()) joined[static_cast<std::size_t>(q - 1)] |= how;
  };
  join(elements.Jx, JoinedAlongX);
  join(elements.Jy, JoinedAlongY);

  OneCellWideStrips strips;
  strips.Charges.resize(joined.size());
  std::transform(joined.begin(), joined.end(), strips.Charges.begin(), [](std::uint8_t j) {
    return j == JoinedAlongX ? StripAxis::X : j == JoinedAlongY ? StripAxis::Y : StripAxis::None;
  });
  MarkOneCellWide(elements.Jx, strips.Charges, StripAxis::X, strips.Jx);
  MarkOneCellWide(elements.Jy, strips.Charges, StripAxis::Y, strips.Jy);
  strips.Any = std::any_of(strips.Charges.begin(), strips.Charges.end(),
                           [](StripAxis a) { return a != StripAxis::None; });
  return strips;
}

Complex StripChargeIntegral(const ChargeCell& cell, StripAxis axis, double xo, double yo,
                            StripIntegralCache& cache) {
  const StripFrame f = StripFrameOf(axis == StripAxis::X, cell.Dx, cell.Dy, xo - cell.X, yo - cell.Y);
  return cache.Integral(f.Length, f.Width, f.Along, f.Across);
}

Complex StripCurrentIntegral(const CurrentCell& element, bool alongX, double xo, double yo,
                             StripIntegralCache& cache) {
  const StripFrame f = StripFrameOf(alongX, element.Dx, element.Dy, xo - element.X, yo - element.Y);
  return cache.Integral(f.Length, f.Width, f.Along, f.Across);
}

bool StripsKeepSymmetry(const OneCellWideStrips& strips, bool alongX) {
  if (!strips.Any) return true;
  const std::vector<std::uint8_t>& flags = alongX ? strips.Jx : strips.Jy;
  const StripAxis axis = alongX ? StripAxis::X : StripAxis::Y;
  return std::all_of(flags.begin(), flags.end(), [](std::uint8_t f) { return f == 1; }) &&
         std::all_of(strips.Charges.begin(), strips.Charges.end(), [&](StripAxis a) { return a == axis; });
}

}  // namespace lumetra
