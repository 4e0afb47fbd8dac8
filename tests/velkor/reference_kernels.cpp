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

Complex exx_like(Complex kt, Complex beta2, double k0, double er, double h) {
  const Complex k1 = k1_of(beta2, k0, er);
  const Complex k2 = k2_of(beta2, k0);
  const Complex te = te_of(k1, k2, h);
  const Complex tm = tm_of(k1, k2, er, h);
  return -j * std::sin(k1 * h) *
         ((er * k0 * k0 - kt * kt) * k2 * std::cos(k1 * h) +
          j * k1 * (k0 * k0 - kt * kt) * std::sin(k1 * h)) /
         (te * tm);
}

// The image factor of the asymptote divided by (er + 1) w.
Complex asymptote_factor(Complex beta2, double k0, double er, double h) {
  const double ee = (er + 1.0) / 2.0;
  const Complex u = std::sqrt(beta2 - ee * k0 * k0);
  const Complex w = -j * u;
  return (1.0 - std::exp(-2.0 * h * u)) / ((er + 1.0) * w);
}

Complex s(Complex k, double c) {
  if (std::abs(k) <= 1e-10) return c;
  return std::sin(k * c) / k;
}

Complex testy(Complex ky, double at) { return 2.0 * s(ky, at); }

Complex exx(Complex kx, Complex, Complex beta2, double k0, double er, double h) {
  return exx_like(kx, beta2, k0, er, h);
}

Complex eyy(Complex, Complex ky, Complex beta2, double k0, double er, double h) {
  return exx_like(ky, beta2, k0, er, h);
}

Complex exy(Complex kx, Complex ky, Complex beta2, double k0, double er, double h) {
  const Complex k1 = k1_of(beta2, k0, er);
  const Complex k2 = k2_of(beta2, k0);
  const Complex te = te_of(k1, k2, h);
  const Complex tm = tm_of(k1, k2, er, h);
  return j * kx * ky * std::sin(k1 * h) * (k2 * std::cos(k1 * h) + j * k1 * std::sin(k1 * h)) /
         (te * tm);
}

Complex axx(Complex kx, Complex, Complex beta2, double k0, double er, double h) {
  const double ee = (er + 1.0) / 2.0;
  return (kx * kx - ee * k0 * k0) * asymptote_factor(beta2, k0, er, h);
}

Complex ayy(Complex, Complex ky, Complex beta2, double k0, double er, double h) {
  const double ee = (er + 1.0) / 2.0;
  return (ky * ky - ee * k0 * k0) * asymptote_factor(beta2, k0, er, h);
}

Complex axy(Complex kx, Complex ky, Complex beta2, double k0, double er, double h) {
  return kx * ky * asymptote_factor(beta2, k0, er, h);
}

Complex curr(Complex kx, Complex ky, double ax, double ay) { return 4.0 * s(kx, ax) * s(ky, ay); }

Complex testx(Complex kx, double at) { return 2.0 * s(kx, at); }

Complex integrand(Coupling coupling, double k0, Complex beta, double alpha, double er, double h,
                  double dx, double dy, double ax, double ay, double at) {
  const Complex kx = beta * std::cos(alpha);
  const Complex ky = beta * std::sin(alpha);
  const Complex beta2 = beta * beta;
  const Complex phase = std::exp(j * (kx * dx + ky * dy));
  const Complex source = curr(kx, ky, ax, ay);
  switch (coupling) {
    case Coupling::xx:
      return (exx(kx, ky, beta2, k0, er, h) - axx(kx, ky, beta2, k0, er, h)) * source *
             std::conj(testx(kx, at)) * phase;
    case Coupling::yy:
      return (eyy(kx, ky, beta2, k0, er, h) - ayy(kx, ky, beta2, k0, er, h)) * source *
             std::conj(testy(ky, at)) * phase;
    case Coupling::xy:
      return (exy(kx, ky, beta2, k0, er, h) - axy(kx, ky, beta2, k0, er, h)) * source *
             std::conj(testx(kx, at)) * phase;
    case Coupling::yx:
      return (exy(kx, ky, beta2, k0, er, h) - axy(kx, ky, beta2, k0, er, h)) * source *
             std::conj(testy(ky, at)) * phase;
  }
  return 0.0;
}

}  // namespace

Complex impedance(Coupling coupling, double f, double er, double h, double dx, double dy, double ax,
                  double ay, double at, double krmax, double dkr) {
  const double k0 = wavenumber(f);
  auto sample = [&](Complex beta, double alpha) {
    return integrand(coupling, k0, beta, alpha, er, h, dx, dy, ax, ay, at);
  };
  auto angle_weight = [](int i) { return (i == 0 || i == 180) ? 0.5 : 1.0; };

  // Full-circle legs: alpha over [0, 2 pi] in 180 steps.
  const double da = pi / 90.0;

  Complex rise_sum = 0.0;
  const double rise_dt = 0.1;
  for (int n = 1; n <= 10; ++n) {
    const double t = (n - 0.5) * rise_dt;
    const Complex beta = 0.1 * k0 * (1.0 + j) * t;
    for (int i = 0; i <= 180; ++i) rise_sum += t * angle_weight(i) * sample(beta, i * da);
  }
  const Complex rise = -j * 0.02 * k0 * k0 * rise_sum * rise_dt * da / (4.0 * pi * pi);

  Complex flat_sum = 0.0;
  const double flat_dt = 0.05;
  for (int n = 1; n <= 20; ++n) {
    const double t = (n - 0.5) * flat_dt;
    const Complex beta = 0.1 * k0 * (1.0 + j) + (er - 0.1) * k0 * t;
    for (int i = 0; i <= 180; ++i) flat_sum += beta * angle_weight(i) * sample(beta, i * da);
  }
  const Complex flat = -(er - 0.1) * k0 * flat_sum * flat_dt * da / (4.0 * pi * pi);

  Complex drop_sum = 0.0;
  const double drop_dt = 0.1;
  for (int n = 1; n <= 10; ++n) {
    const double t = (n - 0.5) * drop_dt;
    const Complex beta = er * k0 + 0.1 * j * k0 * (1.0 - t);
    for (int i = 0; i <= 180; ++i) drop_sum += beta * angle_weight(i) * sample(beta, i * da);
  }
  const Complex drop = 0.1 * j * k0 * drop_sum * drop_dt * da / (4.0 * pi * pi);

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

  return (eta0 / k0) * (rise + flat + drop + tail);
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
  Complex ex, ey;
  switch (source) {
    case Source::jx:
      ex = p * exx(kx, ky, beta2, k0, er, h) * curr(kx, ky, ax, ay);
      ey = p * exy(kx, ky, beta2, k0, er, h) * curr(kx, ky, ax, ay);
      break;
    case Source::jy:
      ex = p * exy(kx, ky, beta2, k0, er, h) * curr(kx, ky, ax, ay);
      ey = p * eyy(kx, ky, beta2, k0, er, h) * curr(kx, ky, ax, ay);
      break;
    case Source::jx_exc:
      ex = p * exx(kx, ky, beta2, k0, er, h) * testx(kx, a);
      ey = p * exy(kx, ky, beta2, k0, er, h) * testx(kx, a);
      break;
    case Source::jy_exc:
      ex = p * exy(kx, ky, beta2, k0, er, h) * testy(ky, a);
      ey = p * eyy(kx, ky, beta2, k0, er, h) * testy(ky, a);
      break;
  }
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
