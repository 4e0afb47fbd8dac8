// The trapezoid's Fourier coefficients against a discrete Fourier transform of
// the sampled waveform, and the -20 and -40 dB/decade breaks of its envelope.
#include "studies/emission/trapezoid.h"
#include "tests/support/error_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumetra::emission {
namespace {

constexpr double Pi = std::numbers::pi;

// The waveform itself, one period from t = 0 (ns), written independently of the
// coefficient code: rise, top, fall, low.
double Sample(const TrapezoidWaveform& w, double tNs) {
  const double period = 1000.0 / w.FundamentalMHz;
  const double tr = w.RiseNs, tf = EffectiveFallNs(w);
  const double top = w.Duty * period - 0.5 * (tr + tf);
  if (tNs < tr) return w.AmplitudeV * tNs / tr;
  if (tNs < tr + top) return w.AmplitudeV;
  if (tNs < tr + top + tf) return w.AmplitudeV * (1.0 - (tNs - tr - top) / tf);
  return 0.0;
}

// c_n from 2^16 samples. Aliasing adds the coefficients n +- 65536, n +- 131072,
// ..., which fall as 1/n^2 and stay far below the tolerance for these edges.
std::complex<double> DftCoefficient(const TrapezoidWaveform& w, int n) {
  constexpr int N = 1 << 16;
  const double period = 1000.0 / w.FundamentalMHz;
  std::complex<double> sum = 0.0;
  for (int k = 0; k < N; ++k)
    sum += Sample(w, period * k / N) * std::polar(1.0, -2.0 * Pi * double(n) * k / N);
  return sum / double(N);
}

void ExpectMatchesDft(const TrapezoidWaveform& w) {
  for (int n : {0, 1, 2, 3, 4, 5, 7, 10, 13, 20, 33, 50, 101, 150}) {
    const std::complex<double> exact = TrapezoidCoefficient(w, n);
    const std::complex<double> sampled = DftCoefficient(w, n);
    EXPECT_LT(std::abs(exact - sampled), 1e-6 * w.AmplitudeV) << "harmonic " << n;
    if (n > 0) {
      EXPECT_LT(std::abs(TrapezoidCoefficient(w, -n) - std::conj(exact)), 1e-15 * w.AmplitudeV);
      EXPECT_EQ(TrapezoidHarmonicPhasor(w, n), 2.0 * exact);
    }
  }
}

TEST(TrapezoidHarmonics, MatchesDftForSymmetricEdgesAtHalfDuty) {
  ExpectMatchesDft({3.3, 25.0, 2.0, std::nullopt, 0.5});
}

TEST(TrapezoidHarmonics, MatchesDftForAsymmetricEdgesAndOtherDuties) {
  ExpectMatchesDft({1.8, 10.0, 1.0, 4.0, 0.3});
  ExpectMatchesDft({5.0, 33.0, 3.0, 0.7, 0.72});
  ExpectMatchesDft({1.0, 100.0, 5.0, 5.0, 0.5});  // a triangle: no flat top
  ExpectMatchesDft({2.5, 1.0, 0.5, 0.5, 0.05});    // a narrow pulse with long gaps
}

TEST(TrapezoidHarmonics, EqualEdgesFollowTheDoubleSincExactly) {
  const TrapezoidWaveform w{3.0, 16.0, 0.8, std::nullopt, 0.37};
  const double f0 = 16e6, tau = 0.37 / f0, tr = 0.8e-9;
  for (int n = 1; n <= 400; ++n) {
    const double a = Pi * n * f0 * tau, b = Pi * n * f0 * tr;
    const double envelope = 2.0 * 3.0 * 0.37 * std::abs(std::sin(a) / a) * std::abs(std::sin(b) / b);
    EXPECT_NEAR(std::abs(TrapezoidHarmonicPhasor(w, n)), envelope, 1e-12 * 3.0) << n;
  }
}

TEST(TrapezoidHarmonics, StaysExactForEdgesAMillionTimesShorterThanThePeriod) {
  // 1 kHz clock with 1 ps edges: the low harmonics are those of an ideal square
  // wave, 2A/(pi n) for odd n.
  const TrapezoidWaveform w{1.0, 0.001, 0.001, std::nullopt, 0.5};
  for (int n : {1, 3, 5, 99}) EXPECT_NEAR(std::abs(TrapezoidHarmonicPhasor(w, n)), 2.0 / (Pi * n), 1e-9);
}

// The envelope of the coefficients: the largest |2 c_n| in each band [f, 1.25 f].
double BandMaximum(const TrapezoidWaveform& w, double fMHz) {
  double largest = 0.0;
  const int first = int(std::ceil(fMHz / w.FundamentalMHz));
  const int last = int(std::floor(1.25 * fMHz / w.FundamentalMHz));
  for (int n = first; n <= last; ++n) largest = std::max(largest, std::abs(TrapezoidHarmonicPhasor(w, n)));
  return largest;
}

double SlopeDbPerDecade(const TrapezoidWaveform& w, double f1, double f2) {
  return 20.0 * std::log10(BandMaximum(w, f2) / BandMaximum(w, f1)) / std::log10(f2 / f1);
}

TEST(TrapezoidHarmonics, EnvelopeIsFlatThenFallsTwentyThenFortyDbPerDecade) {
  // 1 MHz, 20 ns pulse, 0.2 ns edges: breaks at 1/(pi tau) = 15.9 MHz and
  // 1/(pi tr) = 1592 MHz.
  const TrapezoidWaveform w{1.0, 1.0, 0.2, std::nullopt, 0.02};
  const double tau = 20.0, tr = 0.2;  // ns
  const double break1 = 1000.0 / (Pi * tau), break2 = 1000.0 / (Pi * tr);
  EXPECT_NEAR(BandMaximum(w, 1.0), 2.0 * 0.02, 0.02 * 2.0 * 0.02);  // flat below the first break
  EXPECT_NEAR(SlopeDbPerDecade(w, 80.0, 400.0), -20.0, 2.0);
  EXPECT_NEAR(SlopeDbPerDecade(w, 20000.0, 200000.0), -40.0, 2.0);

  // The asymptotes through the measured envelope meet at the breaks.
  const double level = 20.0 * std::log10(2.0 * 0.02);
  const auto db = [&](double f) { return 20.0 * std::log10(BandMaximum(w, f)); };
  const double mid = db(100.0) + 20.0 * std::log10(100.0);  // -20 line: mid - 20 log f
  const double high = db(50000.0) + 40.0 * std::log10(50000.0);  // -40 line
  const double measured1 = std::pow(10.0, (mid - level) / 20.0);
  const double measured2 = std::pow(10.0, (high - mid) / 20.0);
  EXPECT_NEAR(measured1 / break1, 1.0, 0.25);
  EXPECT_NEAR(measured2 / break2, 1.0, 0.25);
}

void ExpectRefused(const TrapezoidWaveform& w, const std::string& part) {
  EXPECT_PRED2(lumetra::testing::Holds,
               lumetra::testing::ErrorText<std::invalid_argument>([&] { ValidateTrapezoid(w); }), part);
  EXPECT_THROW(TrapezoidCoefficient(w, 1), std::invalid_argument);
}

TEST(TrapezoidHarmonics, RefusesImpossibleWaveforms) {
  ExpectRefused({0.0, 10.0, 1.0, std::nullopt, 0.5}, "amplitude");
  ExpectRefused({-1.0, 10.0, 1.0, std::nullopt, 0.5}, "amplitude");
  ExpectRefused({1.0, 0.0, 1.0, std::nullopt, 0.5}, "fundamental frequency");
  ExpectRefused({1.0, NAN, 1.0, std::nullopt, 0.5}, "fundamental frequency");
  ExpectRefused({1.0, 10.0, 0.0, std::nullopt, 0.5}, "rise time");
  ExpectRefused({1.0, 10.0, 1.0, -2.0, 0.5}, "fall time");
  ExpectRefused({1.0, 10.0, 1.0, std::nullopt, 0.0}, "duty cycle");
  ExpectRefused({1.0, 10.0, 1.0, std::nullopt, 1.0}, "duty cycle");
  ExpectRefused({1.0, INFINITY, 1.0, std::nullopt, 0.5}, "fundamental frequency");
  // 100 MHz, 30 % duty: a 3 ns pulse cannot hold 4 ns edges (half their sum 4 > 3).
  ExpectRefused({1.0, 100.0, 4.0, std::nullopt, 0.3}, "longer than the pulse");
  // 70 % duty leaves 3 ns low.
  ExpectRefused({1.0, 100.0, 2.0, 4.5, 0.7}, "gap between pulses");
  // Exactly fitting edges (a triangle) are fine.
  EXPECT_NO_THROW(ValidateTrapezoid({1.0, 100.0, 3.0, 7.0, 0.5}));
  EXPECT_THROW(TrapezoidHarmonicPhasor({1.0, 100.0, 1.0, std::nullopt, 0.5}, 0), std::invalid_argument);
}

}  // namespace
}  // namespace lumetra::emission
