// The distinct spectral-domain kernel values of one frequency point.
//
// A slab correction depends on a pair of elements only through the offset of their
// centres, the source element's half-sizes and the testing segment's half-length.
// The kernels are even (co-polar xx, yy) or odd (cross-polar xy, yx) in each offset
// component separately, so a value at the absolute offsets serves every sign
// combination, times -1 for a cross-polar pair with exactly one negative component.
// Offsets within 1e-12 m of each other are the same offset; sizes must be equal to
// the last bit, so elements of different size never share a value.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace lumetra {

enum class KernelKind : std::uint8_t {
  XX,  // x-directed source, x-directed testing segment
  YY,  // y-directed source, y-directed testing segment
  XY,  // y-directed source, x-directed testing segment
  YX,  // x-directed source, y-directed testing segment
};

inline bool IsCrossPolar(KernelKind kind) { return kind == KernelKind::XY || kind == KernelKind::YX; }

// One kernel evaluation: absolute offsets (m), source half-sizes, testing half-length.
struct KernelCall {
  KernelKind Kind;
  double Dx, Dy;
  double Ax, Ay;
  double At;
};

// The sign that turns the value at the absolute offsets into the one at (dx, dy):
// -1 for a cross-polar pair whose two components differ in sign, else +1. An offset
// component within 1e-12 m of zero counts as zero (the cross-polar value is then
// zero itself, and the tabulated one stands for it).
double OffsetParity(KernelKind kind, double dx, double dy);

class KernelTable {
public:
  // The record of the pair; a new record (appended to Calls()) when no record of the
  // same kind and sizes has both absolute offsets within 1e-12 m of this pair's.
  std::int32_t Find(KernelKind kind, double dx, double dy, double ax, double ay, double at);

  const std::vector<KernelCall>& Calls() const { return calls_; }

private:
  // Absolute offsets on a 1e-12 m lattice, with the kind and the sizes.
  struct Key {
    std::int64_t Qx, Qy;
    double Ax, Ay, At;
    KernelKind Kind;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };

  std::int32_t Lookup(const Key& key, double dx, double dy) const;

  std::vector<KernelCall> calls_;
  std::unordered_map<Key, std::int32_t, KeyHash> index_;
};

}  // namespace lumetra
