#include "studies/emission/trapezoid.h"

#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>

namespace lumetra::emission {

namespace {

std::string Number(double value) {
  std::ostringstream out;
  out.precision(6);
  out << value;
  return out.str();
}

void RequirePositive(double value, const char* name, const char* unit) {
  if (!std::isfinite(value) || value <= 0.0)
    throw std::invalid_argument(std::string("Error: The trapezoid's ") + name + " must be a positive number" +
                                unit + ", not " + Number(value));
}

// sin(x)/x, 1 at x = 0.
double Sinc(double x) { return std::abs(x) < 1e-8 ? 1.0 - x * x / 6.0 : std::sin(x) / x; }

}  // namespace

double EffectiveFallNs(const TrapezoidWaveform& wave) {
  return wave.FallNs ? *wave.FallNs : wave.RiseNs;
}

void ValidateTrapezoid(const TrapezoidWaveform& wave) {
  RequirePositive(wave.AmplitudeV, "amplitude", " in V");
  RequirePositive(wave.FundamentalMHz, "fundamental frequency", " in MHz");
  RequirePositive(wave.RiseNs, "rise time", " in ns");
  RequirePositive(EffectiveFallNs(wave), "fall time", " in ns");
  if (!std::isfinite(wave.Duty) || wave.Duty <= 0.0 || wave.Duty >= 1.0)
    throw std::invalid_argument("Error: The trapezoid's duty cycle must lie between 0 and 1, not " +
                                Number(wave.Duty));
  const double periodNs = 1000.0 / wave.FundamentalMHz;
  const double halfEdges = 0.5 * (wave.RiseNs + EffectiveFallNs(wave));
  const double highNs = wave.Duty * periodNs;
  const double lowNs = periodNs - highNs;
  if (halfEdges > highNs)
    throw std::invalid_argument(
        "Error: The trapezoid's rise and fall times (" + Number(wave.RiseNs) + " ns and " +
        Number(EffectiveFallNs(wave)) + " ns) are longer than the pulse: half their sum must not exceed the " +
        "pulse width of " + Number(highNs) + " ns (duty cycle times period)");
  if (halfEdges > lowNs)
    throw std::invalid_argument(
        "Error: The trapezoid's rise and fall times (" + Number(wave.RiseNs) + " ns and " +
        Number(EffectiveFallNs(wave)) + " ns) are longer than the gap between pulses: half their sum must not " +
        "exceed the low time of " + Number(lowNs) + " ns");
}

// Twice differentiated, the waveform is a train of impulses where its slope
// changes, so each edge contributes a closed form. Pairing the two slope steps of
// one edge (a ramp of duration t centred at tc) gives
//   (1/T) * integral of ramp-step * exp(-j w t) dt = A/(j 2 pi n) * exp(-j w tc) * sinc(w t / 2)
// with a plus sign for the rise and a minus sign for the fall. This form never
// subtracts nearly equal large numbers, unlike summing the four impulses, so it
// stays exact to rounding for edges a million times shorter than the period.
std::complex<double> TrapezoidCoefficient(const TrapezoidWaveform& wave, int harmonic) {
  ValidateTrapezoid(wave);
  if (harmonic == 0) return wave.AmplitudeV * wave.Duty;
  const double periodNs = 1000.0 / wave.FundamentalMHz;
  const double tr = wave.RiseNs, tf = EffectiveFallNs(wave);
  const double tau = wave.Duty * periodNs;
  const double n = harmonic;
  const double w = 2.0 * std::numbers::pi * n / periodNs;  // rad/ns
  // The rise is centred at tr/2, the fall at tr/2 + tau (the 50 % crossings).
  const std::complex<double> rise = std::polar(Sinc(0.5 * w * tr), -w * 0.5 * tr);
  const std::complex<double> fall = std::polar(Sinc(0.5 * w * tf), -w * (0.5 * tr + tau));
  return wave.AmplitudeV / std::complex<double>(0.0, 2.0 * std::numbers::pi * n) * (rise - fall);
}

std::complex<double> TrapezoidHarmonicPhasor(const TrapezoidWaveform& wave, int harmonic) {
  if (harmonic < 1)
    throw std::invalid_argument("Error: A harmonic that drives the layout is numbered from 1, not " +
                                std::to_string(harmonic));
  return 2.0 * TrapezoidCoefficient(wave, harmonic);
}

bool IsSpectralNull(const TrapezoidWaveform& wave, int harmonic) {
  return std::abs(TrapezoidHarmonicPhasor(wave, harmonic)) < 1e-12 * wave.AmplitudeV;
}

}  // namespace lumetra::emission
