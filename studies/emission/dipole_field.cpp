#include "studies/emission/dipole_field.h"

#include <cmath>

namespace lumetra::emission {

namespace {

constexpr double EtaOverFourPi = 30.0;  // 120 pi / (4 pi)
constexpr double CoincidenceSquared = 1e-24;

}  // namespace

DipoleArrays ArrangeDipoles(const std::vector<PointDipole>& dipoles) {
  DipoleArrays a;
  const std::size_t n = dipoles.size();
  for (auto* v : {&a.X, &a.Y, &a.Z, &a.Px, &a.Py, &a.Pz, &a.MomentRe, &a.MomentIm}) v->resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const PointDipole& d = dipoles[i];
    a.X[i] = d.X;
    a.Y[i] = d.Y;
    a.Z[i] = d.Z;
    a.Px[i] = d.Axis == DipoleAxis::X ? 1.0 : 0.0;
    a.Py[i] = d.Axis == DipoleAxis::Y ? 1.0 : 0.0;
    a.Pz[i] = d.Axis == DipoleAxis::Z ? 1.0 : 0.0;
    a.MomentRe[i] = d.Moment.real();
    a.MomentIm[i] = d.Moment.imag();
  }
  return a;
}

// On x86-64 the sum is compiled twice, for the baseline's two lanes and for AVX2's
// four; the loader picks the one the processor runs.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define LUMETRA_WIDEST_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define LUMETRA_WIDEST_VECTORS
#endif

LUMETRA_WIDEST_VECTORS
FieldVector SummedField(const DipoleArrays& dipoles, double x, double y, double z, double k0) {
  const std::size_t n = dipoles.Size();
  const double* const X = dipoles.X.data();
  const double* const Y = dipoles.Y.data();
  const double* const Z = dipoles.Z.data();
  const double* const Px = dipoles.Px.data();
  const double* const Py = dipoles.Py.data();
  const double* const Pz = dipoles.Pz.data();
  const double* const Mr = dipoles.MomentRe.data();
  const double* const Mi = dipoles.MomentIm.data();

  // Sums of m e^(-j u) [A p + B R] per component, real and imaginary parts.
  double exr = 0.0, exi = 0.0, eyr = 0.0, eyi = 0.0, ezr = 0.0, ezi = 0.0;
#pragma omp simd reduction(+ : exr, exi, eyr, eyi, ezr, ezi)
  for (std::size_t i = 0; i < n; ++i) {
    const double dx = x - X[i], dy = y - Y[i], dz = z - Z[i];
    const double r2 = dx * dx + dy * dy + dz * dz;
    // 1, or 0 for a dipole on the point (its terms then vanish, and r stays 1).
    const double apart = static_cast<double>(r2 > CoincidenceSquared);
    const double r = std::sqrt(r2 + (1.0 - apart));
    const double ir = apart / r;
    const double ir2 = ir * ir;
    const double ir3 = ir2 * ir;
    const double ir5 = ir3 * ir2;
    const double u = k0 * r;
    double s, c;
    PolynomialSinCos(u, s, c);
    // w = m e^(-j u)
    const double wr = Mr[i] * c + Mi[i] * s;
    const double wi = Mi[i] * c - Mr[i] * s;
    // A = (u^2 - 1 - j u) / R^3, B = (3 - u^2 + 3 j u) (R . p) / R^5
    const double rp = dx * Px[i] + dy * Py[i] + dz * Pz[i];
    const double ar = (u * u - 1.0) * ir3, ai = -u * ir3;
    const double br = (3.0 - u * u) * rp * ir5, bi = 3.0 * u * rp * ir5;
    const double vxr = ar * Px[i] + br * dx, vxi = ai * Px[i] + bi * dx;
    const double vyr = ar * Py[i] + br * dy, vyi = ai * Py[i] + bi * dy;
    const double vzr = ar * Pz[i] + br * dz, vzi = ai * Pz[i] + bi * dz;
    exr += wr * vxr - wi * vxi;
    exi += wr * vxi + wi * vxr;
    eyr += wr * vyr - wi * vyi;
    eyi += wr * vyi + wi * vyr;
    ezr += wr * vzr - wi * vzi;
    ezi += wr * vzi + wi * vzr;
  }
  // Times -j eta / (4 pi k): (a + j b) -> (b - j a) eta / (4 pi k).
  const double f = EtaOverFourPi / k0;
  return {{exi * f, -exr * f}, {eyi * f, -eyr * f}, {ezi * f, -ezr * f}};
}

}  // namespace lumetra::emission
