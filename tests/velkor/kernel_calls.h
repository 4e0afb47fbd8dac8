// Calls of the library's C entry points that return std::complex, so that the tests
// read like the formulas they check.
#pragma once

#include <cmath>
#include <complex>
#include <numbers>

#include "velkor/velkor.h"

namespace velkor_test {

using Complex = std::complex<double>;

inline constexpr double Pi = std::numbers::pi;
inline constexpr double Eta0 = 376.7343;  // ohm

inline double wavenumber(double f_mhz) { return 2.0 * Pi * f_mhz / 300.0; }

// |actual - expected| / |expected|.
inline double relative_error(Complex actual, Complex expected) {
  return std::abs(actual - expected) / std::abs(expected);
}

using InteractionExport = void (*)(double, double, double, double, double, double, double, double,
                                   double, double, double*, double*);

struct Slab {
  double f;   // MHz
  double er;  // relative permittivity
  double h;   // m
};

struct Pair {
  double dx, dy;  // source centre minus testing centre, m
  double ax, ay;  // source half-sizes, m
  double at;      // testing half-length, m
};

struct Limits {
  double krmax, dkr;  // rad/m
};

inline Complex interaction(InteractionExport kernel, const Slab& s, const Pair& p,
                           const Limits& l) {
  double re = 0.0, im = 0.0;
  kernel(s.f, s.er, s.h, p.dx, p.dy, p.ax, p.ay, p.at, l.krmax, l.dkr, &re, &im);
  return {re, im};
}

// A real-axis tail of `samples` points spaced `step_in_k0` free-space wavenumbers.
inline Limits tail_of(const Slab& s, int samples, double step_in_k0) {
  const double k0 = wavenumber(s.f);
  const double dkr = step_in_k0 * k0;
  return {s.er * k0 + (samples - 1) * dkr, dkr};
}

inline Complex exx(double kx, double ky, double k0, double er, double h) {
  double re = 0.0, im = 0.0;
  _testexx(kx, ky, k0, er, h, &re, &im);
  return {re, im};
}

inline Complex axx(double kx, double ky, double k0, double er, double h) {
  double re = 0.0, im = 0.0;
  _testaxx(kx, ky, k0, er, h, &re, &im);
  return {re, im};
}

struct Field {
  Complex theta, phi;
};

using RectangleFarField = void (*)(double, double, double, double, double, double, double, double,
                                   double, double*, double*, double*, double*);
using SegmentFarField = void (*)(double, double, double, double, double, double, double, double,
                                 double*, double*, double*, double*);

inline Field far_field(RectangleFarField kernel, double theta, double phi, const Slab& s, double x,
                       double y, double ax, double ay) {
  double theta_re, theta_im, phi_re, phi_im;
  kernel(theta, phi, s.f, s.er, s.h, x, y, ax, ay, &theta_re, &theta_im, &phi_re, &phi_im);
  return {{theta_re, theta_im}, {phi_re, phi_im}};
}

inline Field far_field(SegmentFarField kernel, double theta, double phi, const Slab& s, double x,
                       double y, double a) {
  double theta_re, theta_im, phi_re, phi_im;
  kernel(theta, phi, s.f, s.er, s.h, x, y, a, &theta_re, &theta_im, &phi_re, &phi_im);
  return {{theta_re, theta_im}, {phi_re, phi_im}};
}

}  // namespace velkor_test
