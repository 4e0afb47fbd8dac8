// The two surface integrals of e^(-jkR)/R against independent quadrature and closed
// forms, and the cache's keys at the rule threshold. (The rules, their threshold and
// the cache over whole layouts are held to the reference fill in interaction_fill_test.)
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "solver/cell_integral_cache.h"
#include "solver/cell_integrals.h"
#include "solver/cell_offset_grid.h"
#include "tests/solver/fill_reference.h"

namespace lumetra {
namespace {

using cd = std::complex<double>;

cd C(Complex z) { return {z.Re, z.Im}; }

// e^(-jkR)/R summed over the given samples, times the weight.
cd SampleSum(double k, const std::vector<std::pair<double, double>>& points, double xo, double yo,
             double z, double weight) {
  cd sum = 0;
  for (auto [x, y] : points) {
    const double r = std::sqrt((x - xo) * (x - xo) + (y - yo) * (y - yo) + z * z);
    sum += std::exp(cd(0, -k * r)) / r;
  }
  return sum * weight;
}

cd FourPointRule(double k, double xc, double yc, double wx, double wy, double xo, double yo, double z) {
  return SampleSum(k,
                   {{xc - wx / 4, yc - wy / 4}, {xc + wx / 4, yc - wy / 4}, {xc + wx / 4, yc + wy / 4},
                    {xc - wx / 4, yc + wy / 4}},
                   xo, yo, z, wx * wy / 4);
}

cd MidpointRule(double k, double xc, double yc, double wx, double wy, double xo, double yo, double z) {
  std::vector<std::pair<double, double>> points;
  for (int l = 0; l < 8; ++l)
    for (int i = 0; i < 8; ++i)
      points.push_back({xc - wx / 2 + wx / 16 + i * wx / 8, yc - wy / 2 + wy / 16 + l * wy / 8});
  return SampleSum(k, points, xo, yo, z, wx * wy / 64);
}

// Gauss-Legendre nodes and weights on [-1, 1] by Newton iteration.
void GaussLegendre(int n, std::vector<double>& x, std::vector<double>& w) {
  x.resize(n), w.resize(n);
  for (int i = 0; i < n; ++i) {
    double t = std::cos(M_PI * (i + 0.75) / (n + 0.5)), dp = 0;
    for (int it = 0; it < 100; ++it) {
      double p0 = 1, p1 = t;
      for (int k = 2; k <= n; ++k) {
        const double p2 = ((2 * k - 1) * t * p1 - (k - 1) * p0) / k;
        p0 = p1, p1 = p2;
      }
      dp = n * (t * p1 - p0) / (t * t - 1);
      const double step = p1 / dp;
      t -= step;
      if (std::fabs(step) < 1e-16) break;
    }
    x[i] = t, w[i] = 2 / ((1 - t * t) * dp * dp);
  }
}

// The integral of e^(-jkR)/R over [0, b] x [0, a] from its corner, by Gauss-Legendre
// quadrature in both polar coordinates (the area element r dr dtheta cancels 1/R),
// with the angular range split at the diagonal where the outer boundary bends.
cd PolarQuadrature(double k, double b, double a, int n = 64) {
  std::vector<double> x, w;
  GaussLegendre(n, x, w);
  const double diagonal = std::atan2(a, b);
  cd total = 0;
  for (auto [lo, hi] : {std::pair{0.0, diagonal}, std::pair{diagonal, M_PI / 2}})
    for (int i = 0; i < n; ++i) {
      const double theta = lo + (hi - lo) * (x[i] + 1) / 2;
      const double rho = theta < diagonal ? b / std::cos(theta) : a / std::sin(theta);
      cd radial = 0;
      for (int j = 0; j < n; ++j) radial += w[j] * std::exp(cd(0, -k * rho * (x[j] + 1) / 2));
      total += w[i] * (hi - lo) / 2 * radial * rho / 2.0;
    }
  return total;
}

TEST(CellIntegral, FarAwayIsAreaTimesTheGreenFunction) {
  // The four samples see the phase across the cell as an array factor
  // cos(k wx/4 sx) cos(k wy/4 sy) instead of the exact sinc pair: an error of
  // order (k w)^2/100, here below 1e-4.
  const double k = 2 * M_PI / 0.3;  // 1 GHz
  const double wx = 0.002, wy = 0.001;
  for (double r : {0.5, 1.0, 3.0}) {
    const cd value = C(CellIntegral(k, 0.1, 0.2, wx, wy, 0.1 + r * 0.6, 0.2 + r * 0.8, 0.0));
    const cd point = wx * wy * std::exp(cd(0, -k * r)) / r;
    EXPECT_LT(std::abs(value - point), 1e-4 * std::abs(point)) << "r = " << r;
  }
}

TEST(CellIntegral, NearRuleMatchesFineQuadratureBesideTheCell) {
  // Observer one cell width beside a 1 mm square, and above its centre: the 8 x 8
  // rule is accurate to a few 1e-4 there.
  const double k = 2 * M_PI / 0.3, w = 0.001;
  std::vector<double> x, gw;
  GaussLegendre(48, x, gw);
  for (auto [xo, z] : {std::pair{0.002, 0.0}, std::pair{0.0, 0.0015}}) {
    cd fine = 0;
    for (int i = 0; i < 48; ++i)
      for (int l = 0; l < 48; ++l) {
        const double sx = x[i] * w / 2, sy = x[l] * w / 2;
        const double r = std::sqrt((sx - xo) * (sx - xo) + sy * sy + z * z);
        fine += gw[i] * gw[l] * w * w / 4 * std::exp(cd(0, -k * r)) / r;
      }
    const cd value = C(CellIntegral(k, 0.0, 0.0, w, w, xo, 0.0, z));
    EXPECT_LT(std::abs(value - fine), 1e-3 * std::abs(fine)) << xo << " " << z;
  }
}

// The angular sum is a left Riemann sum of step d = pi/1000 of the radial integral
// f(theta) = (sin(k rho) + j (cos(k rho) - 1)) / k, so its error is close to
// d/2 * (f(0) - f(pi/2)) with rho = b at 0 and rho = a at pi/2. One ray more or
// less would be off by about d * |f|, far outside this bound.
double RiemannBound(double k, double b, double a, double magnitude) {
  auto f = [k](double rho) { return cd(std::sin(k * rho), std::cos(k * rho) - 1.0) / k; };
  return 0.6 * 0.0031415926535897933 * std::abs(f(b) - f(a)) + 2e-5 * magnitude;
}

TEST(SelfCellIntegral, MatchesPolarQuadratureOfTheRectangle) {
  // Squares, long thin strips either way round, and cells up to a tenth of a
  // wavelength and beyond.
  for (double k : {2.0, 20.96, 209.6, 2096.0}) {
    for (auto [b, a] : {std::pair{0.0005, 0.0005}, std::pair{0.001, 0.00025}, std::pair{0.0001, 0.002},
                        std::pair{0.0016, 0.0005}}) {
      const cd value = C(SelfCellIntegral(k, b, a));
      const cd fine = PolarQuadrature(k, b, a);
      EXPECT_LT(std::abs(value - fine), RiemannBound(k, b, a, std::abs(fine))) << k << " " << b << " " << a;
    }
  }
}

TEST(SelfCellIntegral, StaticLimitIsTheClosedFormOfOneOverR) {
  // k -> 0: the integral of 1/R over [0, b] x [0, a] from the corner is
  // a asinh(b/a) + b asinh(a/b); the imaginary part tends to -k * area. (k rho
  // about 1e-5: small enough for the limit, large enough for cos(k rho) - 1.)
  const double k = 1e-2;
  for (auto [b, a] : {std::pair{1e-3, 1e-3}, std::pair{2e-3, 5e-4}, std::pair{1e-4, 1e-3}}) {
    const cd value = C(SelfCellIntegral(k, b, a));
    const double closed = a * std::asinh(b / a) + b * std::asinh(a / b);
    EXPECT_NEAR(value.real(), closed, RiemannBound(k, b, a, closed)) << b << " " << a;
    EXPECT_NEAR(value.imag(), -k * a * b, 1e-2 * k * a * b) << b << " " << a;
  }
}

// The high-accuracy form holds to 1e-9 however elongated the rectangle: a ground
// point's vertical strip seen along its depth is up to 40 times longer than wide,
// where the stepped sum errs by percents, and up to cells of several wavelengths.
// The static limit is the closed form.
TEST(SelfCellIntegral, AccurateFormHoldsForEveryAspectRatio) {
  for (double k : {2.0, 20.96, 209.6, 2096.0})
    for (auto [b, a] : {std::pair{0.0005, 0.0005}, std::pair{0.02, 0.001}, std::pair{0.0005, 0.02},
                        std::pair{0.04, 0.001}, std::pair{0.0016, 0.0005}}) {
      const cd value = C(AccurateSelfCellIntegral(k, b, a));
      const cd fine = PolarQuadrature(k, b, a, 400);
      EXPECT_LT(std::abs(value - fine), 1e-8 * std::abs(fine)) << k << " " << b << " " << a;
      EXPECT_EQ(value, C(AccurateSelfCellIntegral(k, a, b)));  // the rectangle turned over
    }
  for (auto [b, a] : {std::pair{1e-3, 1e-3}, std::pair{4e-2, 1e-3}}) {
    const cd value = C(AccurateSelfCellIntegral(1e-2, b, a));
    const double closed = a * std::asinh(b / a) + b * std::asinh(a / b);
    EXPECT_NEAR(value.real(), closed, 1e-8 * closed);
    EXPECT_NEAR(value.imag(), -1e-2 * a * b, 1e-6 * 1e-2 * a * b);
  }
  // The stepped sum on a 20:1 strip is more than 1 % off; the accurate form is not.
  const cd stepped = C(SelfCellIntegral(6.288, 0.02, 0.001));
  const cd fine = PolarQuadrature(6.288, 0.02, 0.001);
  EXPECT_GT(std::abs(stepped.imag() / fine.imag() - 1), 0.01);
}

TEST(CellIntegralCache, NeverCarriesAValueAcrossTheRuleThreshold) {
  // Offsets one ulp apart share a key but straddle k R0 = 1: each call gets its own rule.
  const double k = 2.0;
  CellIntegralCache cache(k, 0.0);
  const CellSizeKey size = CellIntegralCache::SizeKey(0.01, 0.01);
  const double at = 0.5, below = std::nextafter(0.5, 0.0);
  const cd far = C(cache.Integral(size, 0.0, 0.0, at, 0.0));
  const cd near = C(cache.Integral(size, 0.0, 0.0, below, 0.0));
  const cd fourPoint = FourPointRule(k, 0.0, 0.0, 0.01, 0.01, at, 0.0, 0.0);
  const cd midpoint = MidpointRule(k, 0.0, 0.0, 0.01, 0.01, below, 0.0, 0.0);
  EXPECT_LT(std::abs(far - fourPoint), 1e-14 * std::abs(fourPoint));
  EXPECT_LT(std::abs(near - midpoint), 1e-14 * std::abs(midpoint));
  EXPECT_GT(std::abs(far - near), 1e-9 * std::abs(far));
}

TEST(CellIntegralCache, GivesTheSameBitsWhicheverOffsetCameFirst) {
  // Two offsets 1e-17 m apart share a key; the value belongs to the key.
  const double k = 20.0;
  const CellSizeKey size = CellIntegralCache::SizeKey(0.001, 0.001);
  CellIntegralCache one(k, 0.0), other(k, 0.0);
  const double x = 0.0013, nudged = std::nextafter(0.0013, 1.0);
  const Complex a = one.Integral(size, 0.0, 0.0, x, 0.0);
  const Complex b = other.Integral(size, 0.0, 0.0, nudged, 0.0);
  EXPECT_EQ(a, b);
  EXPECT_EQ(one.Integral(size, 0.0, 0.0, nudged, 0.0), other.Integral(size, 0.0, 0.0, x, 0.0));
  EXPECT_EQ(one.Entries(), 1u);
}

TEST(CellOffsetGrid, HoldsTheCacheValueOfEveryPairAndLeavesTheRuleThresholdToTheCache) {
  // Cells 1/(8k) wide in a row, seen from three rows of points: pairs eight cells
  // apart lie at k R0 = 1 to within rounding, and offsets sharing a key fall on
  // both sides of it. The mirror plane is at 3 mm.
  const double k = 20.0, d = 1.0 / (8 * k), h = 0.003;
  std::vector<PlanePoint> cells, observers;
  for (int i = 0; i < 30; ++i) {
    cells.push_back({(i + 0.5) * d, 0.5 * d});
    for (int j = 0; j < 3; ++j) observers.push_back({(i + 0.5) * d, (j + 0.5) * d});
  }
  const CellSizeKey size = CellIntegralCache::SizeKey(d, d);
  CellOffsetGrid grid;
  ASSERT_TRUE(PlanCellOffsetGrid(grid, size, cells, observers));
  PrepareGridValues(grid, true);
  MarkNeededOffsets(grid, 0, 30);
  ComputeGridValues(grid, k, h, 0, grid.Points());
  CellIntegralCache free(k, 0.0), mirror(k, h);
  int asked = 0;
  for (std::int32_t s = 0; s < 30; ++s)
    for (std::int32_t o = 0; o < static_cast<std::int32_t>(observers.size()); ++o) {
      const PlanePoint c = cells[static_cast<std::size_t>(s)], p = observers[static_cast<std::size_t>(o)];
      for (auto [values, cache] : {std::pair{&grid.Free, &free}, std::pair{&grid.Mirror, &mirror}}) {
        const Complex tabulated = GridValues(grid, s, *values).At(o);
        asked += AskTheCache(tabulated) ? 1 : 0;
        if (!AskTheCache(tabulated)) {
          ASSERT_EQ(tabulated, cache->Integral(size, c.X, c.Y, p.X, p.Y)) << s << " " << o;
        }
      }
    }
  EXPECT_GT(asked, 0);
}

}  // namespace
}  // namespace lumetra
