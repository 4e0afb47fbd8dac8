#include "velkor/slab_green_function.h"

#include <cmath>

namespace velkor {

SlabSpectrum slab_green_function(Complex beta2, double k0, double er, double h) {
  const double k0sq = k0 * k0;
  const double ee = (er + 1.0) / 2.0;
  const Complex k1 = -J * std::sqrt(beta2 - er * k0sq);
  const Complex k2 = -J * std::sqrt(beta2 - k0sq);
  // sin(k1 h) and cos(k1 h) divided by cosh(Im(k1 h)). Every coefficient below is a
  // ratio of terms of equal degree in sin and cos, so the common factor cancels, and
  // leaving it out keeps the hyperbolic growth of an electrically thick slab (or of a
  // large evanescent beta) from overflowing.
  const Complex phase = k1 * h;
  const double damping = std::tanh(phase.imag());
  const Complex sin1(std::sin(phase.real()), std::cos(phase.real()) * damping);
  const Complex cos1(std::cos(phase.real()), -std::sin(phase.real()) * damping);
  const Complex te = k1 * cos1 + J * k2 * sin1;
  const Complex tm = er * k2 * cos1 + J * k1 * sin1;
  const Complex te_like = k2 * cos1 + J * k1 * sin1;  // Tm with er set to 1
  const Complex u = std::sqrt(beta2 - ee * k0sq);
  const Complex w = -J * u;
  SlabSpectrum spectrum;
  const Complex sin_over_te = sin1 / te;
  spectrum.diagonal = -J * k0sq * sin_over_te;
  spectrum.transverse = J * sin_over_te * (te_like / tm);
  spectrum.asymptote = (1.0 - std::exp(-2.0 * h * u)) / ((er + 1.0) * w);
  spectrum.quasi_static = ee * k0sq;
  return spectrum;
}

RealAxisSpectrum real_axis_spectrum(double beta, double k0, double er, double h) {
  // k1 = -j q1, k2 = -j q2, u = qe with q1, q2, qe real and positive; then
  // sin(k1 h) = -j sinh(q1 h), cos(k1 h) = cosh(q1 h), and every denominator divided
  // by cosh(q1 h) becomes a combination of q's and T = tanh(q1 h).
  const double beta2 = beta * beta;
  const double k0sq = k0 * k0;
  const double ee = (er + 1.0) / 2.0;
  const double q1 = std::sqrt(beta2 - er * k0sq);
  const double q2 = std::sqrt(beta2 - k0sq);
  const double qe = std::sqrt(beta2 - ee * k0sq);
  const double t = std::tanh(q1 * h);
  const double te = q1 + q2 * t;       //  j Te / cosh(q1 h)
  const double tm = er * q2 + q1 * t;  //  j Tm / cosh(q1 h)
  const double te_like = q2 + q1 * t;  //  the same with er = 1
  const double image = -std::expm1(-2.0 * h * qe) / ((er + 1.0) * qe);
  return {-k0sq * t / te + ee * k0sq * image, t * te_like / (te * tm) - image};
}

}  // namespace velkor
