// The signal of a periodic trapezoidal pulse train: a clock or a data line.
//
// One period T = 1/f0 of the waveform, starting at t = 0:
//   rise   0 -> A      over [0, tr]
//   top    A           for  ttop
//   fall   A -> 0      over tf
//   low    0           for the rest of the period.
// The pulse width tau is measured between the two 50 % crossings, tau = Duty * T,
// so ttop = tau - (tr + tf)/2 >= 0 and the low part T - tau - (tr + tf)/2 >= 0.
//
// Fourier series: x(t) = sum over all integers n of c_n exp(+j 2 pi n f0 t).
// The solver's sources are peak phasors, so harmonic n >= 1 drives the layout with
// the phasor 2 c_n (amplitude |2 c_n| volts); n = 0 is the mean A * Duty and
// radiates nothing. The phase is referred to the start of the rise at t = 0.
#pragma once

#include <complex>
#include <optional>

namespace lumetra::emission {

struct TrapezoidWaveform {
  double AmplitudeV = 1.0;               // A: low level 0, high level A
  double FundamentalMHz = 10.0;          // f0 = 1/T
  double RiseNs = 1.0;                   // 0 -> A
  std::optional<double> FallNs;          // A -> 0; the rise time when not given
  double Duty = 0.5;                     // tau / T, tau between the 50 % crossings
};

// The fall time that applies: FallNs, or the rise time when FallNs is not given.
double EffectiveFallNs(const TrapezoidWaveform& wave);

// Throws std::invalid_argument with a message naming the value at fault: every
// value finite and positive, Duty strictly between 0 and 1, and the edges fitting
// both the high and the low part of the period, (tr + tf)/2 <= tau and
// (tr + tf)/2 <= T - tau.
void ValidateTrapezoid(const TrapezoidWaveform& wave);

// The exact complex Fourier coefficient c_n of the waveform (any integer n;
// c_{-n} = conj(c_n)), in volts. Validates the waveform first.
std::complex<double> TrapezoidCoefficient(const TrapezoidWaveform& wave, int harmonic);

// The phasor that drives the solver at harmonic n >= 1: 2 c_n.
std::complex<double> TrapezoidHarmonicPhasor(const TrapezoidWaveform& wave, int harmonic);

// Whether harmonic n >= 1 lies on a null of the spectrum, |2 c_n| below 1e-12 of
// the amplitude: the even harmonics of a 50 % wave with equal edges, or a zero of
// an edge's sinc. Rounding leaves ~1e-17 V there; such a line radiates nothing
// and is not worth a solve.
bool IsSpectralNull(const TrapezoidWaveform& wave, int harmonic);

}  // namespace lumetra::emission
