// The edge-singular source of the strip export: its Bessel function against the
// standard library, and the export against the superposition of thin uniform
// strips at the Gauss-Chebyshev nodes of its distribution, through the uniform
// exports.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <tuple>

#include "velkor/bessel_j0.h"
#include "velkor/velkor.h"

namespace {

TEST(EdgeSingularSource, BesselJ0AgreesWithTheStandardLibrary) {
  for (double x = 0.0; x < 60.0; x += 0.173) {
    EXPECT_NEAR(velkor::bessel_j0(x), std::cyl_bessel_j(0.0, x), 2e-8) << x;
    EXPECT_NEAR(velkor::bessel_j0(-x), std::cyl_bessel_j(0.0, x), 2e-8) << x;
    EXPECT_NEAR(velkor::bessel_j0(-x, std::cos(x), -std::sin(x)), std::cyl_bessel_j(0.0, x), 2e-8) << x;
    const std::complex<double> real = velkor::bessel_j0(std::complex<double>(x, 0.0));
    EXPECT_NEAR(real.real(), std::cyl_bessel_j(0.0, x), 1e-7) << x;
    EXPECT_NEAR(real.imag(), 0.0, 1e-12) << x;
  }
  // J0(j y) = I0(y) on the imaginary axis (series only, |z| <= 20), and the series
  // meets the Hankel expansion at |z| = 20 off the axes.
  for (double y : {0.3, 2.0, 7.5, 19.9})
    EXPECT_NEAR(velkor::bessel_j0(std::complex<double>(0.0, y)).real() / std::cyl_bessel_i(0.0, y), 1.0, 1e-10);
  const std::complex<double> direction = std::polar(1.0, 0.2);
  const std::complex<double> inside = velkor::bessel_j0(direction * (20.0 - 1e-9));
  const std::complex<double> outside = velkor::bessel_j0(direction * (20.0 + 1e-9));
  EXPECT_LT(std::abs(inside - outside), 1e-7 * std::abs(inside));
}

// The across factor a J0(k a) is the transform of f(s) = 1/(pi sqrt(a^2 - s^2)) times
// 2a; n thin strips of half width eps at the nodes s_i = a cos((2i - 1) pi / (2n)),
// each weighted a / (n eps), have the same transform up to (k eps)^2 and to the
// Chebyshev rule's error, both negligible below the chosen krmax.
TEST(EdgeSingularSource, EqualsThinUniformStripsAtTheChebyshevNodes) {
  const double f = 1600, er = 4.4, h = 1.6e-3, along = 0.25e-3, across = 1.5e-3, at = 0.25e-3;
  const double krmax = 2e4, dkr = 20;  // the correction has died out long before
  constexpr int n = 48;
  const double eps = across / 2000;
  for (const auto& [coupling, dx, dy] : {std::tuple{1, 1e-3, 0.0}, std::tuple{1, 3e-3, 2e-3},
                                        std::tuple{3, 2e-3, 1e-3}, std::tuple{2, 0.5e-3, 2e-3}}) {
    const bool sourceAlongX = coupling == 1 || coupling == 4;
    const double ax = sourceAlongX ? along : across, ay = sourceAlongX ? across : along;
    double re = 0, im = 0;
    _impstrip(coupling, f, er, h, dx, dy, ax, ay, at, krmax, dkr, &re, &im);
    // The strip export's real-axis tail is trapezoidal (its first sample, at er k0,
    // counts half); the uniform exports' is not, so half their first sample comes off:
    // a tail ending at er k0 holds that sample alone, a step of 0 no tail at all.
    const double firstSample = er * (2.0 * M_PI * f / 300.0);
    const auto uniform = [&](double x, double y, double sx, double sy, double limit, double step) {
      double r = 0, j = 0;
      switch (coupling) {
        case 1: _impxx(f, er, h, x, y, sx, sy, at, limit, step, &r, &j); break;
        case 2: _impyy(f, er, h, x, y, sx, sy, at, limit, step, &r, &j); break;
        case 3: _impxy(f, er, h, x, y, sx, sy, at, limit, step, &r, &j); break;
      }
      return std::complex<double>(r, j);
    };
    std::complex<double> sum = 0;
    for (int i = 1; i <= n; ++i) {
      const double s = across * std::cos((2 * i - 1) * M_PI / (2 * n));
      const double x = sourceAlongX ? dx : dx + s, y = sourceAlongX ? dy + s : dy;
      const double sx = sourceAlongX ? ax : eps, sy = sourceAlongX ? eps : ay;
      const std::complex<double> trapezoidal =
          uniform(x, y, sx, sy, krmax, dkr) -
          0.5 * (uniform(x, y, sx, sy, firstSample, dkr) - uniform(x, y, sx, sy, krmax, 0.0));
      sum += trapezoidal * (across / (n * eps));
    }
    const std::complex<double> strip(re, im);
    EXPECT_LT(std::abs(strip - sum), 1e-4 * std::abs(sum)) << coupling << " " << dx << " " << dy;
    if (coupling == 1) {  // and it is not the uniform source
      double ur = 0, ui = 0;
      _impxx(f, er, h, dx, dy, ax, ay, at, krmax, dkr, &ur, &ui);
      EXPECT_GT(std::abs(strip - std::complex<double>(ur, ui)), 1e-3 * std::abs(strip));
    }
  }
  double re = 1, im = 1;
  _impstrip(7, f, er, h, 0, 0, along, across, at, krmax, dkr, &re, &im);
  EXPECT_EQ(re, 0.0);
  EXPECT_EQ(im, 0.0);
}

}  // namespace
