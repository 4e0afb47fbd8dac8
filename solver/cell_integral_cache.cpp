#include "solver/cell_integral_cache.h"

#include <cmath>

#include "solver/cell_integrals.h"

namespace lumetra {

namespace {

inline std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

inline std::uint64_t SlotHash(std::int64_t qx, std::int64_t qy, std::int64_t wx, std::int64_t wy,
                              std::uint32_t far) {
  return Mix(static_cast<std::uint64_t>(qx) * 0x9e3779b97f4a7c15ULL ^
             static_cast<std::uint64_t>(qy) * 0xc2b2ae3d27d4eb4fULL ^
             static_cast<std::uint64_t>(wx) * 0x165667b19e3779f9ULL ^
             static_cast<std::uint64_t>(wy) * 0x27d4eb2f165667c5ULL ^ far);
}

}  // namespace

std::uint32_t FarRule(double k, double cx, double cy, double z) {
  const double kr2 = k * k * (cx * cx + cy * cy + z * z);
  return kr2 > 1.0 + 1e-9   ? 1u
         : kr2 < 1.0 - 1e-9 ? 0u
                            : (UsesFourPointRule(k, cx, cy, 0.0, 0.0, z) ? 1u : 0u);
}

Complex KeyedCellIntegral(double k, double z, std::int64_t qx, std::int64_t qy, std::int64_t wx,
                          std::int64_t wy, std::uint32_t far) {
  const double cx = static_cast<double>(qx) / KeysPerMetre, cy = static_cast<double>(qy) / KeysPerMetre;
  const double sx = static_cast<double>(wx) / KeysPerMetre, sy = static_cast<double>(wy) / KeysPerMetre;
  return far ? FourPointCellIntegral(k, cx, cy, sx, sy, 0.0, 0.0, z)
             : MidpointCellIntegral(k, cx, cy, sx, sy, 0.0, 0.0, z);
}

CellIntegralCache::CellIntegralCache(double k, double z) : k_(k), z_(z), slots_(1024) {}

CellSizeKey CellIntegralCache::SizeKey(double wx, double wy) {
  CellSizeKey key{wx, wy, 0, 0};
  const double ax = std::fabs(wx), ay = std::fabs(wy);
  key.Qx = ax <= LargestCachedLength ? RoundedKey(ax) : -1;
  key.Qy = ay <= LargestCachedLength ? RoundedKey(ay) : -1;
  return key;
}

Complex CellIntegralCache::Integral(const CellSizeKey& size, double xc, double yc, double xo,
                                    double yo) {
  const double cx = xc - xo, cy = yc - yo;
  const double ax = std::fabs(cx), ay = std::fabs(cy);
  if (ax > LargestCachedLength || ay > LargestCachedLength || size.Qx < 0 || size.Qy < 0 ||
      !std::isfinite(cx + cy))
    return CellIntegral(k_, xc, yc, size.Wx, size.Wy, xo, yo, z_);

  const std::uint32_t far = FarRule(k_, cx, cy, z_);
  const std::int64_t qx = RoundedKey(ax), qy = RoundedKey(ay);
  const std::uint64_t hash = SlotHash(qx, qy, size.Qx, size.Qy, far);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (!slot.Used) {
      slot = {qx, qy, size.Qx, size.Qy, far, 1u, KeyedCellIntegral(k_, z_, qx, qy, size.Qx, size.Qy, far)};
      const Complex value = slot.Value;
      if (2 * ++used_ > slots_.size()) Grow();
      return value;
    }
    if (slot.Qx == qx && slot.Qy == qy && slot.Wx == size.Qx && slot.Wy == size.Qy &&
        slot.Far == far)
      return slot.Value;
  }
}

void CellIntegralCache::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.Used) continue;
    std::size_t i = SlotHash(slot.Qx, slot.Qy, slot.Wx, slot.Wy, slot.Far) & mask;
    while (slots_[i].Used) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

Complex SelfIntegralMemo::Compute(double b, double a) const {
  return accurate_ ? AccurateSelfCellIntegral(k_, b, a) : SelfCellIntegral(k_, b, a);
}

Complex SelfIntegralMemo::Integral(double b, double a) {
  for (const Entry& e : recent_)
    if (e.B == b && e.A == a) return e.Value;
  if (recent_.size() < 8) {
    recent_.push_back({b, a, Compute(b, a)});
    return recent_.back().Value;
  }
  const auto [it, added] = more_.try_emplace({b, a});
  if (added) it->second = Compute(b, a);
  return it->second;
}

}  // namespace lumetra
