#include "tests/velkor/reference_kernels.h"

#include <cmath>
#include <numbers>

namespace velkor_reference {

namespace {

const Complex j(0.0, 1.0);
constexpr double pi = std::numbers::pi;
constexpr double eta0 = 376.7343;  // ohm

double wavenumber(double f) { return 2.0 * pi * f / 300.0; }

// Vertical wavenumbers in the slab and in the air, and the two transverse resonance
// denominators (TE and TM).
Complex k1_of(Complex beta2, double k0, double er) { return -j * std::sqrt(beta2 - er * k0 * k0); }
Complex k2_of(Complex beta2, double k0) { return -j * std::sqrt(beta2 - k0 * k0); }

Complex te_of(Complex k1, Complex k2, double h) {
  return k1 * std::cos(k1 * h) + j * k2 * std::sin(k1 * h);
}
Complex tm_of(Complex k1, Complex k2, double er, double h) {
  return er * k2 * std::cos(k1 * h) + j * k1 * std::sin(k1 * h);
}

// The slab's field of a current along the transverse wavenumber kt (xx with kx,
// yy with ky), and of crossed currents.
Complex e_co(Complex kt, Complex beta2, double k0, double er, double h) {
  const Complex k1 = k1_of(beta2, k0, er), k2 = k2_of(beta2, k0);
  return -j * std::sin(k1 * h) *
         ((er * k0 * k0 - kt * kt) * k2 * std::cos(k1 * h) +
          j * k1 * (k0 * k0 - kt * kt) * std::sin(k1 * h)) /
         (te_of(k1, k2, h) * tm_of(k1, k2, er, h));
}
Complex e_cross(Complex kx, Complex ky, Complex beta2, double k0, double er, double h) {
  const Complex k1 = k1_of(beta2, k0, er), k2 = k2_of(beta2, k0);
  return j * kx * ky * std::sin(k1 * h) * (k2 * std::cos(k1 * h) + j * k1 * std::sin(k1 * h)) /
         (te_of(k1, k2, h) * tm_of(k1, k2, er, h));
}

// The image factor of the asymptote divided by (er + 1) w.
Complex asymptote_factor(Complex beta2, double k0, double er, double h) {
  const Complex u = std::sqrt(beta2 - (er + 1.0) / 2.0 * k0 * k0);
  return (1.0 - std::exp(-2.0 * h * u)) / ((er + 1.0) * (-j * u));
}

// sin(k c) / k, c at k = 0.
Complex s(Complex k, double c) { return std::abs(k) <= 1e-10 ? Complex(c) : std::sin(k * c) / k; }

// The field less its asymptote, times the source's and the testing element's
// transforms and the phase of the offset.
Complex integrand(Coupling coupling, double k0, Complex beta, double alpha, double er, double h,
                  double dx, double dy, double ax, double ay, double at) {
  const Complex kx = beta * std::cos(alpha), ky = beta * std::sin(alpha), beta2 = beta * beta;
  const Complex a = asymptote_factor(beta2, k0, er, h);
  const double ee = (er + 1.0) / 2.0;
  Complex field;
  if (coupling == Coupling::xx) field = e_co(kx, beta2, k0, er, h) - (kx * kx - ee * k0 * k0) * a;
  else if (coupling == Coupling::yy) field = e_co(ky, beta2, k0, er, h) - (ky * ky - ee * k0 * k0) * a;
  else field = e_cross(kx, ky, beta2, k0, er, h) - kx * ky * a;
  const bool testingX = coupling == Coupling::xx || coupling == Coupling::xy;
  return field * 4.0 * s(kx, ax) * s(ky, ay) * std::conj(2.0 * s(testingX ? kx : ky, at)) *
         std::exp(j * (kx * dx + ky * dy));
}

double angle_weight(int i) { return (i == 0 || i == 180) ? 0.5 : 1.0; }

// One straight leg of the contour, beta = start + slope t for t in [0, 1] by the
// midpoint rule in `steps`, alpha over the full circle in 180 steps:
// -1/(4 pi^2) of the integral of beta beta' G.
template <typename Sample>
Complex leg(Complex start, Complex slope, int steps, const Sample& sample) {
  const double dt = 1.0 / steps, da = pi / 90.0;
  Complex sum = 0.0;
  for (int n = 1; n <= steps; ++n) {
    const Complex beta = start + slope * ((n - 0.5) * dt);
    for (int i = 0; i <= 180; ++i) sum += beta * angle_weight(i) * sample(beta, i * da);
  }
  return -slope * sum * dt * da / (4.0 * pi * pi);
}

}  // namespace

Complex impedance(Coupling coupling, double f, double er, double h, double dx, double dy, double ax,
                  double ay, double at, double krmax, double dkr) {
  const double k0 = wavenumber(f);
  auto sample = [&](Complex beta, double alpha) {
    return integrand(coupling, k0, beta, alpha, er, h, dx, dy, ax, ay, at);
  };
  // Up from the origin, along above the real axis past the slab's pole, down onto it.
  const Complex corner = 0.1 * k0 * (1.0 + j);
  const Complex contour = leg(0.0, corner, 10, sample) + leg(corner, (er - 0.1) * k0, 20, sample) +
                          leg(er * k0 + 0.1 * j * k0, -0.1 * j * k0, 10, sample);

  // Real-axis tail: alpha over [0, pi] in 180 steps, every radial sample weight 1.
  const double dat = pi / 180.0;
  Complex tail_sum = 0.0;
  if (dkr > 0.0) {
    for (int n = 0;; ++n) {
      const double beta = er * k0 + n * dkr;
      if (!(beta <= krmax)) break;
      for (int i = 0; i <= 180; ++i) tail_sum += beta * angle_weight(i) * sample(beta, i * dat);
    }
  }
  const Complex tail = -j * tail_sum.imag() * dkr * dat / (2.0 * pi * pi);

  return (eta0 / k0) * (contour + tail);
}

namespace {
double search_modulus(double beta, double k0, double er, double h, double a) {
  return std::abs(integrand(Coupling::xx, k0, beta, 0.0, er, h, 0.0, 0.0, a, a, a));
}
}  // namespace

double max_kr(double f, double er, double h, double a, double tol) {
  const double k0 = wavenumber(f);
  const double step = 0.5 * k0;
  const double end = 5000.0 * k0;
  auto m_of = [&](double beta) { return search_modulus(beta, k0, er, h, a); };

  const double first = m_of(er * k0);
  const double second = m_of(er * k0 + step);
  if (second < first) {
    double beta = er * k0 + 2.0 * step;
    double m;
    do {
      m = m_of(beta);
      beta = beta + step;
    } while (!(m <= tol * first || beta >= end));
    return beta;
  }

  double prev = 0.0;
  double beta = er * k0;
  double peak = 0.0;
  bool found = false;
  do {
    const double m = m_of(beta);
    if (m <= prev) {
      peak = prev;
      found = true;
      break;
    }
    prev = m;
    beta = beta + step;
  } while (beta < end);
  if (!found) return end;

  double before = peak;
  double current = m_of(beta);
  beta = beta + step;
  do {
    const double next = m_of(beta);
    if (current > before && current > next && current < tol * peak) return beta;
    before = current;
    current = next;
    beta = beta + step;
  } while (beta < end);
  return beta;
}

namespace {

enum class Source { jx, jy, jx_exc, jy_exc };

FarField far_field(Source source, double theta, double phi, double f, double er, double h, double x,
                   double y, double ax, double ay, double a) {
  const double k0 = wavenumber(f);
  const double kx_real = k0 * std::sin(theta) * std::cos(phi);
  const double ky_real = k0 * std::sin(theta) * std::sin(phi);
  const Complex kx = kx_real;
  const Complex ky = ky_real;
  // beta^2 in real arithmetic: formed as kx * kx + ky * ky in complex arithmetic it
  // would carry an imaginary part of -0 when kx and ky are both negative (or -0), and the
  // square roots of k1 and k2, taken on their branch cut, would return the conjugate
  // root instead of the principal one.
  const Complex beta2 = kx_real * kx_real + ky_real * ky_real;
  const Complex p = j * (eta0 / (2.0 * pi)) * std::exp(j * (kx * x + ky * y));
  const bool alongX = source == Source::jx || source == Source::jx_exc;
  const Complex transform = source == Source::jx || source == Source::jy ? 4.0 * s(kx, ax) * s(ky, ay)
                            : 2.0 * s(alongX ? kx : ky, a);
  const Complex cross = p * e_cross(kx, ky, beta2, k0, er, h) * transform;
  const Complex ex = alongX ? p * e_co(kx, beta2, k0, er, h) * transform : cross;
  const Complex ey = alongX ? cross : p * e_co(ky, beta2, k0, er, h) * transform;
  return {ex * std::cos(phi) + ey * std::sin(phi),
          std::cos(theta) * (ey * std::cos(phi) - ex * std::sin(phi))};
}

}  // namespace

FarField far_field_jx(double theta, double phi, double f, double er, double h, double x, double y,
                      double ax, double ay) {
  return far_field(Source::jx, theta, phi, f, er, h, x, y, ax, ay, 0.0);
}
FarField far_field_jy(double theta, double phi, double f, double er, double h, double x, double y,
                      double ax, double ay) {
  return far_field(Source::jy, theta, phi, f, er, h, x, y, ax, ay, 0.0);
}
FarField far_field_jx_exc(double theta, double phi, double f, double er, double h, double x,
                          double y, double a) {
  return far_field(Source::jx_exc, theta, phi, f, er, h, x, y, 0.0, 0.0, a);
}
FarField far_field_jy_exc(double theta, double phi, double f, double er, double h, double x,
                          double y, double a) {
  return far_field(Source::jy_exc, theta, phi, f, er, h, x, y, 0.0, 0.0, a);
}

}  // namespace velkor_reference
