#include "solver/cell_integrals.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

}  // namespace

bool UsesFourPointRule(double k, double xc, double yc, double xo, double yo, double z) {
  const double cx = xc - xo, cy = yc - yo;
  return k * std::sqrt(cx * cx + cy * cy + z * z) >= 1.0;
}

// Far: one sample at the centre of each quarter of the cell.
Complex FourPointCellIntegral(double k, double xc, double yc, double wx, double wy, double xo,
                              double yo, double z) {
  double re = 0.0, im = 0.0;
  const double qx = wx / 4, qy = wy / 4;
  AddGreenSample(k, xc - qx, yc - qy, xo, yo, z, re, im);
  AddGreenSample(k, xc + qx, yc - qy, xo, yo, z, re, im);
  AddGreenSample(k, xc + qx, yc + qy, xo, yo, z, re, im);
  AddGreenSample(k, xc - qx, yc + qy, xo, yo, z, re, im);
  const double weight = wx * wy * 0.25;
  return {re * weight, im * weight};
}

// Near: midpoints of an 8 x 8 subdivision, rows of constant y outermost.
Complex MidpointCellIntegral(double k, double xc, double yc, double wx, double wy, double xo,
                             double yo, double z) {
  double re = 0.0, im = 0.0;
  for (int l = 0; l < 8; ++l) {
    const double y = yc - wy / 2 + wy / 16 + l * wy / 8;
    for (int i = 0; i < 8; ++i) {
      const double x = xc - wx / 2 + wx / 16 + i * wx / 8;
      AddGreenSample(k, x, y, xo, yo, z, re, im);
    }
  }
  const double weight = wx * wy / 64;
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

// 8-point Gauss-Legendre on [-1, 1].
constexpr double LegendreNodes[8] = {-0.9602898564975363, -0.7966664774136267, -0.5255324099163290,
                                     -0.1834346424956498, 0.1834346424956498,  0.5255324099163290,
                                     0.7966664774136267,  0.9602898564975363};
constexpr double LegendreWeights[8] = {0.1012285362903763, 0.2223810344533745, 0.3137066458778873,
                                       0.3626837833783620, 0.3626837833783620, 0.3137066458778873,
                                       0.2223810344533745, 0.1012285362903763};

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
      const Complex v = RayRemainder(k, rho(mid + half * LegendreNodes[i]));
      re += half * LegendreWeights[i] * v.Re;
      im += half * LegendreWeights[i] * v.Im;
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
