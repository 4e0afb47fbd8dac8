// Memo of CellIntegral for one wavenumber and one distance between the planes of
// cell and observer.
//
// Layouts sit on a snap grid, so the same cell size seen from the same offset comes
// back thousands of times. The integral depends only on the cell size and on the
// absolute offsets of the observer from the cell centre (the sample pattern is
// symmetric about the centre), so those, rounded to 1e-15 m, form the key. Offsets
// that share a key differ by less than 1e-15 m, which changes the integral far
// below the accuracy of its quadrature; offsets further apart never share a key.
// The choice between the far and the near rule is made from the actual offset of
// every call and is part of the key, so a cached value never crosses from one rule
// to the other. The value is that of the key's own offset and size (the rounded
// ones), so it does not depend on which call came first: a fill gives the same
// bits whichever thread met an offset first.
//
// Not thread safe: every worker owns its caches.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "solver/complex_arithmetic.h"

namespace lumetra {

// Keys are multiples of 1e-15 m. Lengths beyond 1000 m (never a board) are not
// memoised, which keeps the rounded values far inside the 64-bit range.
constexpr double KeysPerMetre = 1e15;
constexpr double LargestCachedLength = 1e3;

inline std::int64_t RoundedKey(double nonNegativeLength) {
  return static_cast<std::int64_t>(nonNegativeLength * KeysPerMetre + 0.5);
}

// CellIntegral's own choice of rule, k R0 >= 1, from the offset (cx, cy) of the cell
// centre: 1 four-point rule, 0 the 8 x 8 rule. Only where k^2 R0^2 is within
// rounding of 1 does the square root decide.
std::uint32_t FarRule(double k, double cx, double cy, double z);

// The value every memo keeps for a key: the integral at the rounded |offsets|
// (qx, qy) of a cell of the rounded size (wx, wy), by the rule `far` chose.
Complex KeyedCellIntegral(double k, double z, std::int64_t qx, std::int64_t qy, std::int64_t wx,
                          std::int64_t wy, std::uint32_t far);

// A cell size with its rounded key, worked out once per cell rather than per call.
struct CellSizeKey {
  double Wx = 0.0, Wy = 0.0;     // m
  std::int64_t Qx = 0, Qy = 0;  // multiples of the key quantum
};

class CellIntegralCache {
public:
  CellIntegralCache(double k, double z);

  static CellSizeKey SizeKey(double wx, double wy);

  // Equals CellIntegral(k, xc, yc, size.Wx, size.Wy, xo, yo, z).
  Complex Integral(const CellSizeKey& size, double xc, double yc, double xo, double yo);

  double Wavenumber() const { return k_; }
  double PlaneDistance() const { return z_; }
  std::size_t Entries() const { return used_; }

private:
  struct Slot {
    std::int64_t Qx, Qy, Wx, Wy;  // rounded |offset| and size
    std::uint32_t Far;             // 1: four-point rule, 0: 8 x 8 rule
    std::uint32_t Used;
    Complex Value;
  };
  void Grow();

  double k_, z_;
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

// Memo of SelfCellIntegral (about 500 sines and cosines each) for one wavenumber,
// keyed by the exact extents: every cell of one size shares one value.
class SelfIntegralMemo {
public:
  // accurate: AccurateSelfCellIntegral instead of the stepped SelfCellIntegral.
  explicit SelfIntegralMemo(double k, bool accurate = false) : k_(k), accurate_(accurate) {}
  // Equals SelfCellIntegral(k, b, a) (or the accurate form).
  Complex Integral(double b, double a);

private:
  struct Entry {
    double B, A;
    Complex Value;
  };
  Complex Compute(double b, double a) const;
  double k_;
  bool accurate_;
  std::vector<Entry> recent_;  // most layouts have a handful of cell sizes
  std::map<std::pair<double, double>, Complex> more_;
};

}  // namespace lumetra
