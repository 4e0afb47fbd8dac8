// Physical limits of the spectral building blocks and of the corrections built on
// them. (The element transforms, small arguments included, are held to the
// transcription through every interaction and far field in oracle_agreement_test.)
#include <gtest/gtest.h>

#include "tests/velkor/kernel_calls.h"

namespace velkor_test {
namespace {

// Far out on the real axis the slab's field is quasi-static, which is what the
// subtracted asymptote describes: the remainder shrinks like (k0/beta)^2 relative to the
// Green's function itself, by at least a factor of ten per decade of beta.
TEST(Asymptote, CapturesTheGreensFunctionFarAboveTheSlabWavenumber) {
  const double k0 = wavenumber(1000.0), er = 4.5, h = 1.6e-3;
  double previous = 1.0;
  for (double multiple : {10.0, 100.0, 1000.0, 10000.0}) {
    const double beta = multiple * er * k0;
    const double kx = 0.6 * beta, ky = 0.8 * beta;
    const Complex g = exx(kx, ky, k0, er, h);
    const double remainder = std::abs(g - axx(kx, ky, k0, er, h)) / std::abs(g);
    EXPECT_LT(remainder, 0.1 * previous) << multiple;
    // eyy is exx with the roles of kx and ky exchanged.
    const Complex gyy = exx(ky, kx, k0, er, h);
    EXPECT_LT(std::abs(gyy - axx(ky, kx, k0, er, h)) / std::abs(gyy), 0.1 * previous) << multiple;
    previous = remainder;
  }
  EXPECT_LT(previous, 1e-9);
}

// With er = 1 the slab is air and the asymptote (a homogeneous medium of permittivity
// (er + 1)/2 = 1 with an image at depth 2h) is the exact Green's function of a current
// above a ground plane.
TEST(Asymptote, IsExactForASlabOfAir) {
  const double k0 = wavenumber(800.0), h = 2e-3;
  for (double kx : {0.0, 0.3 * k0, 0.85 * k0, 1.4 * k0, 12.0 * k0})
    for (double ky : {0.1 * k0, 2.0 * k0}) {
      const Complex g = exx(kx, ky, k0, 1.0, h);
      EXPECT_LT(relative_error(axx(kx, ky, k0, 1.0, h), g), 1e-12) << kx / k0 << ", " << ky / k0;
    }
}

TEST(Asymptote, BroadsideValueOfAnAirSlabIsTheGroundPlaneArrayFactor) {
  // exx(0, 0) = -k0 (1 - exp(-2 j k0 h)) / 2: a horizontal dipole at height h and its
  // negative image.
  const double k0 = wavenumber(2000.0), h = 5e-3;
  const Complex expected = -k0 * (1.0 - std::exp(Complex(0.0, -2.0 * k0 * h))) / 2.0;
  EXPECT_LT(relative_error(exx(0.0, 0.0, k0, 1.0, h), expected), 1e-12);
}

TEST(Correction, VanishesLinearlyAsThePermittivityApproachesOne) {
  const Pair p{1e-3, 2e-3, 0.5e-3, 0.5e-3, 0.5e-3};
  const Slab nearly_air{1000.0, 1.001, 1.6e-3};
  const Slab closer{1000.0, 1.0001, 1.6e-3};
  const Complex z1 = interaction(_impxx, nearly_air, p, tail_of(nearly_air, 50, 2.0));
  const Complex z2 = interaction(_impxx, closer, p, tail_of(closer, 50, 2.0));
  EXPECT_NEAR(std::abs(z1) / std::abs(z2), 10.0, 0.05);
}

TEST(Correction, NoOverflowForAnElectricallyThickSlabFarOut) {
  const double k0 = wavenumber(3000.0), er = 10.0, h = 20e-3;
  const double beta = 500.0 * er * k0;  // |k1| h far beyond the range of sinh
  const Complex g = exx(beta, 0.0, k0, er, h);
  ASSERT_TRUE(std::isfinite(g.real()) && std::isfinite(g.imag()));
  EXPECT_LT(std::abs(g - axx(beta, 0.0, k0, er, h)) / std::abs(g), 1e-6);
  double re, im;
  _testintxx(k0, beta, 0.4, er, h, 1e-3, 0, 1e-3, 1e-3, 1e-3, &re, &im);
  EXPECT_TRUE(std::isfinite(re) && std::isfinite(im));
}

TEST(Correction, NonPositiveStepLeavesOnlyTheComplexLegs) {
  const Slab s{700.0, 3.0, 1e-3};
  const Pair p{2e-3, 1e-3, 0.5e-3, 0.5e-3, 0.5e-3};
  const double k0 = wavenumber(s.f);
  // A limit below er k0 has no real-axis sample; a zero or negative step must not loop.
  const Complex legs_only = interaction(_impxx, s, p, {0.5 * s.er * k0, k0});
  EXPECT_EQ(interaction(_impxx, s, p, {100.0 * k0, 0.0}), legs_only);
  EXPECT_EQ(interaction(_impxx, s, p, {100.0 * k0, -k0}), legs_only);
  EXPECT_NE(interaction(_impxx, s, p, {100.0 * k0, k0}), legs_only);
}

}  // namespace
}  // namespace velkor_test
