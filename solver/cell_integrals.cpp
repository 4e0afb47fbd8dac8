#include "solver/cell_integrals.h"

#include <cmath>

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

}  // namespace lumetra
