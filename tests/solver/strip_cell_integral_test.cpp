// The edge-singular strip cell: its integral against brute-force quadrature, its
// w/4 wire limit, its far limit (the uniform cell), and which cells of a layout
// are one cell wide.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <tuple>

#include "solver/cell_integrals.h"
#include "solver/one_cell_wide_strips.h"
#include "solver/strip_cell_integral.h"

namespace lumetra {
namespace {

using cd = std::complex<double>;

cd C(Complex z) { return {z.Re, z.Im}; }

// w * integral of f(s) integral of G dx ds with s = a sin(theta), which turns f ds
// into d theta / pi, by the midpoint rule in theta and x. Off the strip's own line.
cd BruteForce(double k, double length, double width, double u, double v, double z, int n) {
  const double a = width / 2;
  cd sum = 0;
  for (int i = 0; i < n; ++i) {
    const double s = a * std::sin(-M_PI / 2 + (i + 0.5) * M_PI / n);
    for (int j = 0; j < n; ++j) {
      const double x = -length / 2 + (j + 0.5) * length / n;
      const double r = std::sqrt((x - u) * (x - u) + (s - v) * (s - v) + z * z);
      sum += std::exp(cd(0, -k * r)) / r;
    }
  }
  return sum * width * length / (double(n) * n);
}

// On the strip's own line (z = 0): the 1/R part along x in closed form on n nodes
// in theta (its logarithmic singularity needs many), the bounded rest by the
// midpoint rule on 400 by 64.
cd OnLine(double k, double length, double width, double u, int n) {
  const double a = width / 2;
  double statics = 0;
  for (int i = 0; i < n; ++i) {
    const double s = std::fabs(a * std::sin(-M_PI / 2 + (i + 0.5) * M_PI / n));
    statics += std::asinh((length / 2 - u) / s) + std::asinh((length / 2 + u) / s);
  }
  cd dynamic = 0;
  constexpr int across = 400, along = 64;
  for (int i = 0; i < across; ++i) {
    const double s = a * std::sin(-M_PI / 2 + (i + 0.5) * M_PI / across);
    for (int j = 0; j < along; ++j) {
      const double x = -length / 2 + (j + 0.5) * length / along;
      const double r = std::sqrt((x - u) * (x - u) + s * s);
      dynamic += (std::exp(cd(0, -k * r)) - 1.0) / r;
    }
  }
  return width * (statics / double(n) + dynamic * length / double(across * along));
}

TEST(StripCellIntegral, MatchesBruteForceQuadratureNearTheCell) {
  struct Case {
    double Length, Width, U, V, Z;
  };
  const double k = 2 * M_PI / 0.1;  // 100 mm wavelength
  for (const Case& c : {Case{1e-3, 1e-3, 1e-3, 0, 0}, Case{1e-3, 1e-3, 0, 0, 3.2e-3},
                        Case{1e-3, 1e-3, 0.3e-3, 2e-3, 0}, Case{0.25e-3, 3e-3, 0.25e-3, 0, 0.4e-3},
                        Case{2e-3, 1e-3, 5e-3, 1e-3, 0.5e-3}}) {
    const cd ours = C(StripCellIntegral(k, c.Length, c.Width, c.U, c.V, c.Z));
    const cd reference = BruteForce(k, c.Length, c.Width, c.U, c.V, c.Z, 1500);
    EXPECT_LT(std::abs(ours / reference - 1.0), 2e-5) << c.Length << " " << c.Width << " " << c.U;
  }
  // On the strip's own line, the cell's own centre and its neighbours' centres,
  // square cells and short wide ones.
  for (const auto& [length, width, u] :
       {std::tuple{1e-3, 1e-3, 0.0}, std::tuple{1e-3, 1e-3, 1e-3}, std::tuple{0.25e-3, 3e-3, 0.0},
        std::tuple{0.25e-3, 3e-3, 0.5e-3}}) {
    const cd ours = C(StripCellIntegral(k, length, width, u, 0, 0));
    const cd reference = OnLine(k, length, width, u, 200000);
    EXPECT_LT(std::abs(ours / reference - 1.0), 1e-4) << length << " " << width << " " << u;
  }
}

// Seen from its centre line, a long cell is the round wire of radius w/4: the
// static integral tends to w * 2 asinh(L / (2 r)) with r = w/4.
TEST(StripCellIntegral, LongCellSeenFromItsCentreIsTheQuarterWidthWire) {
  const double width = 1e-3, k = 1e-3;
  for (double length : {30e-3, 100e-3}) {
    const double wire = width * 2 * std::asinh(length / (2 * width / 4));
    const double uniformWire = width * 2 * std::asinh(length / (2 * width / (2 * M_E)));
    const double ours = StripCellIntegral(k, length, width, 0, 0, 0).Re;
    EXPECT_NEAR(ours / wire, 1.0, 2e-4) << length;
    EXPECT_GT(uniformWire / ours, 1.03);  // the uniform strip's thinner wire is well apart
  }
  EXPECT_NEAR(StripLogPotential(0.5e-3, 0.2e-3, 0), std::log(0.25e-3), 1e-12);
  EXPECT_NEAR(StripLogPotential(0.5e-3, 0.5, 0.3), std::log(std::hypot(0.5, 0.3)), 1e-5);
}

// Far from the cell only its total counts: the value approaches the uniform cell's
// (their second moments differ, a^2/2 against a^2/3), and the two rules of the
// strip integral meet at the switch four extents out.
TEST(StripCellIntegral, FarObserversSeeTheUniformCell) {
  const double k = 2 * M_PI / 0.3, length = 1e-3, width = 2e-3;
  for (double distance : {20e-3, 60e-3}) {
    const cd strip = C(StripCellIntegral(k, length, width, distance * 0.6, distance * 0.8, 0));
    const cd uniform = C(CellIntegral(k, 0, 0, length, width, distance * 0.6, distance * 0.8, 0));
    EXPECT_LT(std::abs(strip / uniform - 1.0), 2e-3 * (20e-3 / distance) * (20e-3 / distance));
  }
  const double r = 4 * width;
  const cd inside = C(StripCellIntegral(k, length, width, 0, r * (1 - 1e-9), 0));
  const cd outside = C(StripCellIntegral(k, length, width, 0, r * (1 + 1e-9), 0));
  EXPECT_LT(std::abs(outside / inside - 1.0), 5e-4);
}

// An L of one-cell-wide traces, a two-cell-wide trace and an isolated cell.
TEST(OneCellWideStrips, CornersJunctionsWideTracesAndIsolatedCellsStayUniform) {
  ElementLists e;
  // Cells 1-3 along x, 4 above cell 3 (the corner), 5 and 6 a two-cell-wide pair
  // joined both ways with 7 and 8, 9 alone.
  for (double x : {0.0, 1.0, 2.0}) e.Charges.push_back({x, 0, 1, 1});
  e.Charges.push_back({2, 1, 1, 1});
  for (auto [x, y] : {std::pair{5.0, 0.0}, {6.0, 0.0}, {5.0, 1.0}, {6.0, 1.0}, {9.0, 9.0}})
    e.Charges.push_back({x, y, 1, 1});
  e.Jx = {{0.5, 0, 1, 1, 1, 2}, {1.5, 0, 1, 1, 2, 3}, {5.5, 0, 1, 1, 5, 6}, {5.5, 1, 1, 1, 7, 8}};
  e.Jy = {{2, 0.5, 1, 1, 3, 4}, {5, 0.5, 1, 1, 5, 7}, {6, 0.5, 1, 1, 6, 8}};
  const OneCellWideStrips s = FindOneCellWideStrips(e);
  const std::vector<StripAxis> expected = {StripAxis::X,    StripAxis::X,    StripAxis::None,
                                           StripAxis::Y,    StripAxis::None, StripAxis::None,
                                           StripAxis::None, StripAxis::None, StripAxis::None};
  EXPECT_EQ(s.Charges, expected);
  EXPECT_EQ(s.Jx, (std::vector<std::uint8_t>{1, 0, 0, 0}));
  EXPECT_EQ(s.Jy, (std::vector<std::uint8_t>{0, 0, 0}));
  EXPECT_TRUE(s.Any);
  EXPECT_FALSE(StripsKeepSymmetry(s, true));
  ElementLists straight;
  straight.Charges = {{0, 0, 1, 2}, {1, 0, 1, 2}};
  straight.Jx = {{0.5, 0, 1, 2, 1, 2}};
  EXPECT_TRUE(StripsKeepSymmetry(FindOneCellWideStrips(straight), true));
}

}  // namespace
}  // namespace lumetra
