#include "solver/fill_geometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "solver/physical_constants.h"

namespace lumetra {

namespace {

// Merges points that agree to 1e-15 m (rounding noise of the element files).
class ObserverIndex {
public:
  explicit ObserverIndex(std::vector<PlanePoint>& points) : points_(points) {}

  std::int32_t IndexOf(PlanePoint p) {
    if (!(std::fabs(p.X) < 1e3 && std::fabs(p.Y) < 1e3)) {  // far off any board: never merged
      points_.push_back(p);
      return static_cast<std::int32_t>(points_.size() - 1);
    }
    const Key key{std::llround(p.X * 1e15), std::llround(p.Y * 1e15)};
    const auto [it, added] = index_.try_emplace(key, static_cast<std::int32_t>(points_.size()));
    if (added) points_.push_back(p);
    return it->second;
  }

private:
  struct Key {
    std::int64_t X, Y;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return std::hash<std::int64_t>()(k.X * 0x9e3779b97f4a7c15LL ^ k.Y);
    }
  };
  std::vector<PlanePoint>& points_;
  std::unordered_map<Key, std::int32_t, KeyHash> index_;
};

// Charge cells sorted by centre x, to find those near a point quickly.
class ChargeLocator {
public:
  explicit ChargeLocator(const std::vector<ChargeCell>& charges) : charges_(charges) {
    byX_.resize(charges.size());
    for (std::size_t i = 0; i < charges.size(); ++i) byX_[i] = static_cast<std::int32_t>(i);
    std::sort(byX_.begin(), byX_.end(),
              [&](std::int32_t a, std::int32_t b) { return charges_[a].X < charges_[b].X; });
  }

  // Appends the cells with |xq - x| < tol and |yq - y| < tol, in cell order.
  void AppendCoincident(PlanePoint p, std::vector<std::int32_t>& out) const {
    const double tol = CoincidenceTolerance;
    auto first = std::lower_bound(byX_.begin(), byX_.end(), p.X - 2 * tol,
                                  [&](std::int32_t i, double x) { return charges_[i].X < x; });
    const std::size_t before = out.size();
    for (auto it = first; it != byX_.end() && charges_[*it].X <= p.X + 2 * tol; ++it) {
      const ChargeCell& q = charges_[*it];
      if (std::fabs(q.X - p.X) < tol && std::fabs(q.Y - p.Y) < tol) out.push_back(*it);
    }
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(before), out.end());
  }

private:
  const std::vector<ChargeCell>& charges_;
  std::vector<std::int32_t> byX_;
};

void CheckChargeNumber(std::int64_t number, std::size_t charges, const char* what,
                       std::size_t index) {
  if (number < 1 || number > static_cast<std::int64_t>(charges))
    throw std::invalid_argument(std::string(what) + " " + std::to_string(index + 1) +
                                " refers to charge cell " + std::to_string(number) + " of " +
                                std::to_string(charges));
}

PointsOnCharges Inverted(const CoincidentCharges& coincident, std::size_t charges) {
  PointsOnCharges inverse;
  inverse.Start.assign(charges + 1, 0);
  for (std::int32_t q : coincident.Charges) ++inverse.Start[static_cast<std::size_t>(q) + 1];
  for (std::size_t q = 0; q < charges; ++q) inverse.Start[q + 1] += inverse.Start[q];
  inverse.Points.resize(coincident.Charges.size());
  std::vector<std::int32_t> next(inverse.Start.begin(), inverse.Start.end() - 1);
  for (std::size_t p = 0; p + 1 < coincident.Start.size(); ++p)
    for (std::int32_t i = coincident.Start[p]; i < coincident.Start[p + 1]; ++i)
      inverse.Points[static_cast<std::size_t>(next[static_cast<std::size_t>(coincident.Charges[i])]++)] =
          static_cast<std::int32_t>(p);
  return inverse;
}

CurrentEndPoints EndPointsOf(const std::vector<CurrentCell>& cells, bool alongX,
                             const std::vector<ChargeCell>& charges, ObserverIndex& observers,
                             const ChargeLocator& locator, const char* what) {
  CurrentEndPoints ends;
  const std::size_t n = cells.size();
  ends.Plus.reserve(n), ends.Minus.reserve(n);
  ends.PlusCoincident.Start.push_back(0);
  ends.MinusCoincident.Start.push_back(0);
  for (std::size_t i = 0; i < n; ++i) {
    const CurrentCell& c = cells[i];
    CheckChargeNumber(c.Negative, charges.size(), what, i);
    CheckChargeNumber(c.Positive, charges.size(), what, i);
    const PlanePoint plus = alongX ? PlanePoint{c.X + c.Dx / 2, c.Y} : PlanePoint{c.X, c.Y + c.Dy / 2};
    const PlanePoint minus = alongX ? PlanePoint{c.X - c.Dx / 2, c.Y} : PlanePoint{c.X, c.Y - c.Dy / 2};
    ends.Plus.push_back(plus);
    ends.Minus.push_back(minus);
    ends.PlusObserver.push_back(observers.IndexOf(plus));
    ends.MinusObserver.push_back(observers.IndexOf(minus));
    locator.AppendCoincident(plus, ends.PlusCoincident.Charges);
    ends.PlusCoincident.Start.push_back(static_cast<std::int32_t>(ends.PlusCoincident.Charges.size()));
    locator.AppendCoincident(minus, ends.MinusCoincident.Charges);
    ends.MinusCoincident.Start.push_back(static_cast<std::int32_t>(ends.MinusCoincident.Charges.size()));
  }
  ends.PlusOnCharge = Inverted(ends.PlusCoincident, charges.size());
  ends.MinusOnCharge = Inverted(ends.MinusCoincident, charges.size());
  return ends;
}

}  // namespace

FillGeometry BuildFillGeometry(const ElementLists& elements) {
  FillGeometry geometry;
  ObserverIndex observers(geometry.Observers);
  const ChargeLocator locator(elements.Charges);
  geometry.Jx = EndPointsOf(elements.Jx, true, elements.Charges, observers, locator, "Jx element");
  geometry.Jy = EndPointsOf(elements.Jy, false, elements.Charges, observers, locator, "Jy element");
  for (std::size_t g = 0; g < elements.GroundPoints.size(); ++g) {
    const GroundContact& contact = elements.GroundPoints[g];
    CheckChargeNumber(contact.ChargeNo, elements.Charges.size(), "ground point", g);
    if (contact.Side != 1 && contact.Side != -1)
      throw std::invalid_argument("ground point " + std::to_string(g + 1) + " has side " +
                                  std::to_string(contact.Side));
    const ChargeCell& q = elements.Charges[static_cast<std::size_t>(contact.ChargeNo - 1)];
    geometry.GroundCellObserver.push_back(observers.IndexOf({q.X, q.Y}));
  }
  return geometry;
}

}  // namespace lumetra
