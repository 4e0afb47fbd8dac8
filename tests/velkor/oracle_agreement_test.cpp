// Every export against the per-sample transcription in reference_kernels: the
// optimised evaluation (beta-only coefficients, angle symmetries, sine recurrences,
// real arithmetic on the real axis) must reproduce it to 1e-10 relative.
#include <gtest/gtest.h>

#include <vector>

#include "tests/velkor/kernel_calls.h"
#include "tests/velkor/reference_kernels.h"

namespace velkor_test {
namespace {

namespace ref = velkor_reference;

constexpr double Tolerance = 1e-10;

struct InteractionCase {
  const char* name;
  Slab slab;
  Pair pair;
  int tail_samples;
  double tail_step_in_k0;
};

// Names, slab {f MHz, er, h m}, pair {dx, dy, ax, ay, at in m}, tail samples, step / k0.
const InteractionCase InteractionCases[] = {
    {"LowFrequencyCoincident", {1.0, 4.5, 1.6e-3}, {0, 0, 0.1e-3, 0.1e-3, 0.1e-3}, 30, 1.0},
    {"ThinNegativeOffsets", {10.0, 2.2, 0.8e-3}, {2e-3, -1e-3, 0.5e-3, 0.3e-3, 0.4e-3}, 50, 3.0},
    {"HighPermittivity", {100.0, 10.2, 0.25e-3}, {-4e-3, 6e-3, 1e-3, 0.2e-3, 1e-3}, 80, 10.0},
    // More samples than the recurrences run between restarts.
    {"LongTailPureYOffset", {1000.0, 4.5, 1.6e-3}, {0, 5e-3, 0.5e-3, 0.5e-3, 0.5e-3}, 300, 1.0},
    {"LargeOffset", {3000.0, 3.0, 3e-3}, {-20e-3, -7e-3, 2e-3, 1e-3, 0.7e-3}, 60, 2.0},
    {"ThickSlabLargeElements", {6000.0, 9.8, 1e-3}, {50e-3, 30e-3, 3e-3, 3e-3, 3e-3}, 40, 5.0},
    {"NearlyAir", {1000.0, 1.05, 1.6e-3}, {1e-3, 1e-3, 0.5e-3, 0.5e-3, 0.5e-3}, 100, 2.0},
    {"NoRealAxisSamples", {500.0, 4.5, 1.6e-3}, {3e-3, 2e-3, 0.5e-3, 0.5e-3, 0.5e-3}, 0, 1.0},
};

void PrintTo(const InteractionCase& c, std::ostream* out) { *out << c.name; }

class InteractionAgreement : public testing::TestWithParam<InteractionCase> {};

TEST_P(InteractionAgreement, EveryCouplingMatchesTheOracle) {
  const InteractionCase& c = GetParam();
  const Limits limits = tail_of(c.slab, c.tail_samples, c.tail_step_in_k0);
  const InteractionExport exports[] = {_impxx, _impyy, _impxy, _impyx};
  const ref::Coupling couplings[] = {ref::Coupling::xx, ref::Coupling::yy, ref::Coupling::xy,
                                     ref::Coupling::yx};
  std::vector<Complex> expected;
  for (ref::Coupling coupling : couplings)
    expected.push_back(ref::impedance(coupling, c.slab.f, c.slab.er, c.slab.h, c.pair.dx, c.pair.dy,
                                      c.pair.ax, c.pair.ay, c.pair.at, limits.krmax, limits.dkr));
  // A cross coupling that vanishes by symmetry (a zero offset) is compared on the scale
  // of the co-polar value.
  const double scale = std::abs(expected[0]);
  for (int k = 0; k < 4; ++k) {
    const Complex actual = interaction(exports[k], c.slab, c.pair, limits);
    EXPECT_LE(std::abs(actual - expected[k]), Tolerance * std::max(std::abs(expected[k]), scale))
        << "coupling " << k + 1 << ": " << actual << " vs " << expected[k];
  }
}

INSTANTIATE_TEST_SUITE_P(Spread, InteractionAgreement, testing::ValuesIn(InteractionCases),
                         [](const testing::TestParamInfo<InteractionCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(MaxKrAgreement, SearchStopsAtTheOraclesPosition) {
  for (double f : {1.0, 100.0, 1000.0, 5000.0})
    for (double a : {0.05e-3, 0.5e-3, 5e-3})
      for (double tol : {0.1, 0.01}) {
        const double er = f < 500.0 ? 2.2 : 4.5;
        EXPECT_EQ(_maxkr(f, er, 1.6e-3, a, tol), ref::max_kr(f, er, 1.6e-3, a, tol))
            << "f=" << f << " a=" << a << " tol=" << tol;
      }
}

TEST(FarFieldAgreement, AllFourElementsMatchTheOracleOverTheHemisphere) {
  const Slab slabs[] = {{300.0, 4.5, 1.6e-3}, {2400.0, 2.2, 0.8e-3}};
  for (const Slab& s : slabs)
    for (double theta : {0.0, 0.3, 0.8, 1.2, 1.5706})
      for (double phi : {0.0, 0.7, 1.5707963267948966, 2.5, -1.0, 4.0}) {
        const double x = 12e-3, y = -7e-3, ax = 1e-3, ay = 0.4e-3, a = 0.8e-3;
        const ref::FarField expected[] = {
            ref::far_field_jx(theta, phi, s.f, s.er, s.h, x, y, ax, ay),
            ref::far_field_jy(theta, phi, s.f, s.er, s.h, x, y, ax, ay),
            ref::far_field_jx_exc(theta, phi, s.f, s.er, s.h, x, y, a),
            ref::far_field_jy_exc(theta, phi, s.f, s.er, s.h, x, y, a)};
        const Field actual[] = {far_field(_farfieldjx, theta, phi, s, x, y, ax, ay),
                                far_field(_farfieldjy, theta, phi, s, x, y, ax, ay),
                                far_field(_farfieldjxexc, theta, phi, s, x, y, a),
                                far_field(_farfieldjyexc, theta, phi, s, x, y, a)};
        for (int k = 0; k < 4; ++k) {
          // A component may vanish in a symmetry plane; compare on the element's scale.
          const double scale = std::max(std::abs(expected[k].theta), std::abs(expected[k].phi));
          EXPECT_LE(std::abs(actual[k].theta - expected[k].theta), Tolerance * scale)
              << "element " << k << " theta=" << theta << " phi=" << phi;
          EXPECT_LE(std::abs(actual[k].phi - expected[k].phi), Tolerance * scale)
              << "element " << k << " theta=" << theta << " phi=" << phi;
        }
      }
}

}  // namespace
}  // namespace velkor_test
