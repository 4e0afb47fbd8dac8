#include "solver/strip_cell_integral.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "solver/gauss_legendre.h"

namespace lumetra {

namespace {

constexpr double Pi = 3.14159265358979323846;


// Gauss-Chebyshev nodes s_i = a cos((2i + 1) pi / (2n)), each of weight 1/n, are
// exact against f for polynomials of degree 2n - 1.
inline double ChebyshevNode(double a, int i, int n) { return a * std::cos((2 * i + 1) * Pi / (2 * n)); }

constexpr int DynamicNodes = 8;
// Beyond this many cell extents the two by two rule is used.
constexpr double FarExtents = 4.0;

// The static part. Along the strip integral of 1/R dx from -L/2 to L/2 is
// asinh(t1/rho) + asinh(t2/rho) with t1 = L/2 - u, t2 = L/2 + u and
// rho^2 = (s - v)^2 + z^2, and asinh(t/rho) = sign(t) (ln(|t| + sqrt(t^2 + rho^2)) - ln rho).
// The logarithms of rho are integrated against f exactly (StripLogPotential); the
// rest is analytic in s with branch points at the distance sqrt(t^2 + z^2) from the
// strip, which sets the number of nodes (the error falls like (1 + d/a)^(-2n)).
double StaticPart(double a, double half, double u, double v, double z) {
  const double t[2] = {half - u, half + u};
  double logWeight = 0.0, nearest = 0.0;
  bool any = false;
  for (double ti : t) {
    if (ti == 0.0) continue;
    logWeight += ti > 0 ? 1.0 : -1.0;
    const double d = std::sqrt(ti * ti + z * z);
    nearest = any ? std::min(nearest, d) : d;
    any = true;
  }
  if (!any) return 0.0;
  const int n = static_cast<int>(std::clamp(std::ceil(8.0 * a / nearest), 8.0, 512.0));
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    const double dv = ChebyshevNode(a, i, n) - v;
    const double rho2 = dv * dv + z * z;
    for (double ti : t) {
      if (ti == 0.0) continue;
      const double g = std::log(std::fabs(ti) + std::sqrt(ti * ti + rho2));
      sum += ti > 0 ? g : -g;
    }
  }
  return sum / n - logWeight * StripLogPotential(a, v, z);
}

// The bounded rest (e^(-jkR) - 1)/R: Gauss-Legendre along, Gauss-Chebyshev across.
Complex DynamicPart(double k, double a, double half, double u, double v, double z) {
  double re = 0.0, im = 0.0;
  for (int i = 0; i < DynamicNodes; ++i) {
    const double dv = ChebyshevNode(a, i, DynamicNodes) - v;
    const double rho2 = dv * dv + z * z;
    for (int j = 0; j < 8; ++j) {
      const double dx = half * GaussLegendre8Nodes[j] - u;
      const double r = std::sqrt(dx * dx + rho2);
      if (r == 0.0) {
        im -= GaussLegendre8Weights[j] * k;  // the limit -jk
        continue;
      }
      const double s = std::sin(0.5 * k * r);
      re -= GaussLegendre8Weights[j] * 2.0 * s * s / r;  // cos(kr) - 1 without cancellation
      im -= GaussLegendre8Weights[j] * std::sin(k * r) / r;
    }
  }
  const double scale = half / DynamicNodes;
  return {re * scale, im * scale};
}

// Far: two Gauss-Legendre points along, two Gauss-Chebyshev points across.
Complex FarStripCellIntegral(double k, double length, double width, double u, double v, double z) {
  const double along = length / (2.0 * std::sqrt(3.0)), across = width / (2.0 * std::sqrt(2.0));
  double re = 0.0, im = 0.0;
  for (double x : {-along, along})
    for (double s : {-across, across}) {
      const double dx = x - u, dv = s - v;
      const double r = std::sqrt(dx * dx + dv * dv + z * z);
      re += std::cos(k * r) / r;
      im -= std::sin(k * r) / r;
    }
  const double weight = length * width * 0.25;
  return {re * weight, im * weight};
}

constexpr double KeysPerMetre = 1e15;
constexpr double LargestCachedLength = 1e3;

}  // namespace

double StripLogPotential(double halfWidth, double v, double z) {
  // The logarithmic potential of f is ln |(zeta + sqrt(zeta^2 - a^2)) / 2| with
  // zeta = v + jz on the branch where |zeta + sqrt| >= a; the two roots multiply to
  // a^2, so the larger modulus is the right one.
  const std::complex<double> zeta(v, z);
  const std::complex<double> root = std::sqrt(zeta * zeta - halfWidth * halfWidth);
  return std::log(0.5 * std::max(std::abs(zeta + root), std::abs(zeta - root)));
}

Complex StripCellIntegral(double k, double length, double width, double u, double v, double z) {
  const double extent = std::max(length, width);
  if (u * u + v * v + z * z >= FarExtents * FarExtents * extent * extent)
    return FarStripCellIntegral(k, length, width, u, v, z);
  const double a = width / 2, half = length / 2;
  const Complex dynamic = DynamicPart(k, a, half, u, v, z);
  return {width * (StaticPart(a, half, u, v, z) + dynamic.Re), width * dynamic.Im};
}

namespace {

inline std::uint64_t SlotHash(std::int64_t l, std::int64_t w, std::int64_t u, std::int64_t v) {
  std::uint64_t h = static_cast<std::uint64_t>(l) * 0x9e3779b97f4a7c15ULL ^
                    static_cast<std::uint64_t>(w) * 0xc2b2ae3d27d4eb4fULL ^
                    static_cast<std::uint64_t>(u) * 0x165667b19e3779f9ULL ^
                    static_cast<std::uint64_t>(v) * 0x27d4eb2f165667c5ULL;
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return h;
}

inline std::int64_t Rounded(double length) { return static_cast<std::int64_t>(length * KeysPerMetre + 0.5); }
inline double Unrounded(std::int64_t key) { return static_cast<double>(key) / KeysPerMetre; }

}  // namespace

Complex StripIntegralCache::Integral(double length, double width, double u, double v) {
  const double au = std::fabs(u), av = std::fabs(v);
  if (!(au <= LargestCachedLength && av <= LargestCachedLength && length <= LargestCachedLength &&
        width <= LargestCachedLength))
    return StripCellIntegral(k_, length, width, u, v, z_);
  const std::int64_t l = Rounded(length), w = Rounded(width), ru = Rounded(au), rv = Rounded(av);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = SlotHash(l, w, ru, rv) & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (!slot.Used) {
      slot = {l, w, ru, rv, true,
              StripCellIntegral(k_, Unrounded(l), Unrounded(w), Unrounded(ru), Unrounded(rv), z_)};
      const Complex value = slot.Value;
      if (2 * ++used_ > slots_.size()) Grow();
      return value;
    }
    if (slot.L == l && slot.W == w && slot.U == ru && slot.V == rv) return slot.Value;
  }
}

void StripIntegralCache::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.Used) continue;
    std::size_t i = SlotHash(slot.L, slot.W, slot.U, slot.V) & mask;
    while (slots_[i].Used) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

}  // namespace lumetra
