#include "solver/cell_integrals.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "solver/gauss_legendre.h"

namespace lumetra {

namespace {

// Adds e^(-jkR)/R for the sample (x, y) in the cell's plane seen from (xo, yo, z).
inline void AddGreenSample(double k, double x, double y, double xo, double yo, double z,
                           double& re, double& im) {
  const double dx = x - xo, dy = y - yo;
  const double r = std::sqrt(dx * dx + dy * dy + z * z);
  const double kr = k * r;
  re += std::cos(kr) / r;
  im -= std::sin(kr) / r;
}

// e^(-jkR)/R = 1/R + (e^(-jx) - 1)/R with x = kR. The second part is smooth, and
// with u = x^2 it is k times power series in u:
//   (cos x - 1)/R = -k x C(u),  C(u) = (1 - cos x) / x^2 = sum (-u)^n / (2n+2)!
//    sin x / R    =  k S(u),    S(u) = sin x / x       = sum (-u)^n / (2n+1)!
// Up to x = 2 thirteen terms leave a truncation below 1e-20 and a rounding of a few
// units in the last place, so a sample costs a square root, a division and two
// short polynomials instead of a sine and a cosine, and a row of samples
// vectorises.
constexpr double SeriesReach = 2.0;
constexpr int SeriesTerms = 13;

struct SmoothSeries {
  double S[SeriesTerms], C[SeriesTerms];
};

constexpr SmoothSeries MakeSmoothSeries() {
  SmoothSeries series{};
  double factorial = 1.0;  // (2n+1)!
  for (int n = 0; n < SeriesTerms; ++n) {
    if (n > 0) factorial *= (2.0 * n) * (2.0 * n + 1.0);
    const double sign = n % 2 ? -1.0 : 1.0;
    series.S[n] = sign / factorial;
    series.C[n] = sign / (factorial * (2.0 * n + 2.0));
  }
  return series;
}
constexpr SmoothSeries Smooth = MakeSmoothSeries();

// Sum of e^(-jkR)/R over the samples xs[i] x ys[l] (offsets from the observer in
// the cell's plane) at the plane distance z, every sample nearer than
// SeriesReach / k. Each column keeps its own sums, so the inner loop has no
// dependence between its iterations.
template <int Columns, int Rows>
Complex SeriesSampleSum(double k, const double (&xs)[Columns], const double (&ys)[Rows], double z) {
  double re[Columns] = {}, im[Columns] = {};
  const double k2 = k * k;
  for (int l = 0; l < Rows; ++l) {
    const double across = ys[l] * ys[l] + z * z;
    for (int i = 0; i < Columns; ++i) {
      const double r2 = xs[i] * xs[i] + across;
      const double r = std::sqrt(r2);
      const double u = k2 * r2;
      double s = Smooth.S[SeriesTerms - 1], c = Smooth.C[SeriesTerms - 1];
      for (int n = SeriesTerms - 2; n >= 0; --n) {
        s = s * u + Smooth.S[n];
        c = c * u + Smooth.C[n];
      }
      re[i] += 1.0 / r - k2 * r * c;
      im[i] -= k * s;
    }
  }
  double sumRe = 0.0, sumIm = 0.0;
  for (int i = 0; i < Columns; ++i) sumRe += re[i], sumIm += im[i];
  return {sumRe, sumIm};
}

// True when every sample of a wx x wy cell centred at the offset (cx, cy) lies
// within SeriesReach / k of the observer.
bool WithinSeriesReach(double k, double cx, double cy, double wx, double wy, double z) {
  const double reach = std::sqrt(cx * cx + cy * cy + z * z) + 0.5 * std::sqrt(wx * wx + wy * wy);
  return k * reach <= SeriesReach;
}

}  // namespace

bool UsesFourPointRule(double k, double xc, double yc, double xo, double yo, double z) {
  const double cx = xc - xo, cy = yc - yo;
  return k * std::sqrt(cx * cx + cy * cy + z * z) >= 1.0;
}

// Far: one sample at the centre of each quarter of the cell.
Complex FourPointCellIntegral(double k, double xc, double yc, double wx, double wy, double xo,
                              double yo, double z) {
  const double qx = wx / 4, qy = wy / 4;
  const double weight = wx * wy * 0.25;
  if (WithinSeriesReach(k, xc - xo, yc - yo, wx, wy, z)) {
    const double xs[2] = {xc - qx - xo, xc + qx - xo}, ys[2] = {yc - qy - yo, yc + qy - yo};
    const Complex sum = SeriesSampleSum(k, xs, ys, z);
    return {sum.Re * weight, sum.Im * weight};
  }
  double re = 0.0, im = 0.0;
  AddGreenSample(k, xc - qx, yc - qy, xo, yo, z, re, im);
  AddGreenSample(k, xc + qx, yc - qy, xo, yo, z, re, im);
  AddGreenSample(k, xc + qx, yc + qy, xo, yo, z, re, im);
  AddGreenSample(k, xc - qx, yc + qy, xo, yo, z, re, im);
  return {re * weight, im * weight};
}

// Near: midpoints of an 8 x 8 subdivision, rows of constant y outermost.
Complex MidpointCellIntegral(double k, double xc, double yc, double wx, double wy, double xo,
                             double yo, double z) {
  const double weight = wx * wy / 64;
  if (WithinSeriesReach(k, xc - xo, yc - yo, wx, wy, z)) {
    double xs[8], ys[8];
    for (int i = 0; i < 8; ++i) {
      xs[i] = xc - wx / 2 + wx / 16 + i * wx / 8 - xo;
      ys[i] = yc - wy / 2 + wy / 16 + i * wy / 8 - yo;
    }
    const Complex sum = SeriesSampleSum(k, xs, ys, z);
    return {sum.Re * weight, sum.Im * weight};
  }
  double re = 0.0, im = 0.0;
  for (int l = 0; l < 8; ++l) {
    const double y = yc - wy / 2 + wy / 16 + l * wy / 8;
    for (int i = 0; i < 8; ++i) {
      const double x = xc - wx / 2 + wx / 16 + i * wx / 8;
      AddGreenSample(k, x, y, xo, yo, z, re, im);
    }
  }
  return {re * weight, im * weight};
}

Complex CellIntegral(double k, double xc, double yc, double wx, double wy, double xo, double yo,
                     double z) {
  return UsesFourPointRule(k, xc, yc, xo, yo, z) ? FourPointCellIntegral(k, xc, yc, wx, wy, xo, yo, z)
                                                 : MidpointCellIntegral(k, xc, yc, wx, wy, xo, yo, z);
}

Complex SelfCellIntegral(double k, double b, double a) {
  // Along the ray at angle theta from the b side, the rectangle ends at rho (on the
  // far side x = b below the diagonal, on y = a above it), and
  //   integral_0^rho e^(-jkr) dr = (sin(k rho) + j (cos(k rho) - 1)) / k.
  // The sum over theta is a left Riemann sum of step pi/1000; theta is accumulated
  // by repeated addition and each loop tests after its body, so the ray at 0 is
  // always taken and the ray at pi/2 never (500 rays in all).
  constexpr double step = 0.0031415926535897933;
  constexpr double halfPi = 1.5707963267948966;
  const double diagonal = std::atan(a / b);
  double theta = 0.0, re = 0.0, im = 0.0;
  do {
    const double rho = b / std::cos(theta);
    re += std::sin(k * rho);
    im += std::cos(k * rho) - 1.0;
    theta += step;
  } while (theta <= diagonal);
  do {
    const double rho = a / std::sin(theta);
    re += std::sin(k * rho);
    im += std::cos(k * rho) - 1.0;
    theta += step;
  } while (theta <= halfPi);
  const double scale = step / k;
  return {re * scale, im * scale};
}

namespace {

// The dynamic part along one ray ending at rho: integral_0^rho (e^(-jkr) - 1) dr
// = (sin(k rho) - k rho) / k + j (cos(k rho) - 1) / k. Near k rho = 0 the first
// term loses every digit to cancellation, so its series is used there.
Complex RayRemainder(double k, double rho) {
  const double x = k * rho;
  double re;
  if (std::fabs(x) < 0.1) {
    const double x2 = x * x;
    re = -x * x2 / 6.0 * (1.0 - x2 / 20.0 * (1.0 - x2 / 42.0 * (1.0 - x2 / 72.0)));
  } else {
    re = std::sin(x) - x;
  }
  // cos(x) - 1 = -2 sin^2(x/2), exact for small x
  const double s = std::sin(0.5 * x);
  return {re / k, -2.0 * s * s / k};
}

// Gauss-Legendre of the ray remainders over theta in [t0, t1], rho(theta) given,
// in as many parts as keep the phase k rho within about a radian across each.
template <typename Rho>
void AddRays(double k, double t0, double t1, Rho rho, double& re, double& im) {
  const int parts = std::clamp(static_cast<int>(std::ceil(k * std::fabs(rho(t0) - rho(t1)))), 1, 256);
  const double width = (t1 - t0) / parts;
  for (int p = 0; p < parts; ++p) {
    const double half = 0.5 * width, mid = t0 + (p + 0.5) * width;
    for (int i = 0; i < 8; ++i) {
      const Complex v = RayRemainder(k, rho(mid + half * GaussLegendre8Nodes[i]));
      re += half * GaussLegendre8Weights[i] * v.Re;
      im += half * GaussLegendre8Weights[i] * v.Im;
    }
  }
}

}  // namespace

Complex AccurateSelfCellIntegral(double k, double b, double a) {
  // The rectangle seen from its corner is the same with its sides swapped; take b
  // as the longer so that the diagonal lies at most at 45 degrees.
  if (a > b) std::swap(a, b);
  const double halfPi = 1.5707963267948966;
  const double diagonal = std::atan2(a, b);
  double re = b * std::asinh(a / b) + a * std::asinh(b / a), im = 0.0;
  // Below the diagonal the ray ends on x = b: rho = b / cos(theta), smooth there.
  AddRays(k, 0.0, diagonal, [&](double t) { return b / std::cos(t); }, re, im);
  // Above it the ray ends on y = a: rho = a / sin(theta), which falls like 1/theta
  // from the diagonal on; pieces doubling in angle keep every piece smooth.
  const auto onA = [&](double t) { return a / std::sin(t); };
  double t0 = diagonal;
  while (2.0 * t0 < halfPi) {
    AddRays(k, t0, 2.0 * t0, onA, re, im);
    t0 *= 2.0;
  }
  AddRays(k, t0, halfPi, onA, re, im);
  return {re, im};
}

}  // namespace lumetra
