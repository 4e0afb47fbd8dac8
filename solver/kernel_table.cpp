#include "solver/kernel_table.h"

#include <bit>
#include <cmath>

#include "solver/physical_constants.h"

namespace lumetra {

namespace {

std::int64_t Lattice(double offset) { return std::llround(offset / CoincidenceTolerance); }

std::size_t Mix(std::size_t seed, std::uint64_t value) {
  value *= 0x9E3779B97F4A7C15ull;
  return (seed ^ (value >> 29) ^ value) * 0xBF58476D1CE4E5B9ull;
}

}  // namespace

double OffsetParity(KernelKind kind, double dx, double dy) {
  if (!IsCrossPolar(kind)) return 1.0;
  if (std::fabs(dx) <= CoincidenceTolerance || std::fabs(dy) <= CoincidenceTolerance) return 1.0;
  return (dx < 0.0) != (dy < 0.0) ? -1.0 : 1.0;
}

std::size_t KernelTable::KeyHash::operator()(const Key& k) const {
  std::size_t h = static_cast<std::size_t>(k.Kind);
  h = Mix(h, static_cast<std::uint64_t>(k.Qx));
  h = Mix(h, static_cast<std::uint64_t>(k.Qy));
  h = Mix(h, std::bit_cast<std::uint64_t>(k.Ax));
  h = Mix(h, std::bit_cast<std::uint64_t>(k.Ay));
  h = Mix(h, std::bit_cast<std::uint64_t>(k.At));
  return h;
}

// Two offsets that round to the same lattice point differ by less than 1e-12; the
// neighbouring points may hold a record within the tolerance too.
std::int32_t KernelTable::Lookup(const Key& key, double dx, double dy) const {
  if (const auto hit = index_.find(key); hit != index_.end()) return hit->second;
  std::int32_t best = -1;
  for (std::int64_t i = -1; i <= 1; ++i)
    for (std::int64_t j = -1; j <= 1; ++j) {
      if (i == 0 && j == 0) continue;
      Key near = key;
      near.Qx += i;
      near.Qy += j;
      const auto hit = index_.find(near);
      if (hit == index_.end()) continue;
      const KernelCall& c = calls_[static_cast<std::size_t>(hit->second)];
      if (std::fabs(c.Dx - dx) <= CoincidenceTolerance && std::fabs(c.Dy - dy) <= CoincidenceTolerance &&
          (best < 0 || hit->second < best))
        best = hit->second;
    }
  return best;
}

std::int32_t KernelTable::Find(KernelKind kind, double dx, double dy, double ax, double ay,
                               double at) {
  dx = std::fabs(dx);
  dy = std::fabs(dy);
  const Key key{Lattice(dx), Lattice(dy), ax, ay, at, kind};
  if (const std::int32_t found = Lookup(key, dx, dy); found >= 0) return found;
  const auto record = static_cast<std::int32_t>(calls_.size());
  calls_.push_back({kind, dx, dy, ax, ay, at});
  index_.emplace(key, record);
  return record;
}

}  // namespace lumetra
