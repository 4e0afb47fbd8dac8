// Trapezoidal rules for the spectral angle alpha: 180 intervals, weight 1/2 at both
// ends and 1 inside. The complex legs of the radial path integrate over the full
// circle [0, 2 pi]; the real-axis tail only over [0, pi], because there the integrand
// at alpha + pi contributes the same imaginary part as at alpha.
#pragma once

#include <array>

namespace velkor {

struct AngleGrid {
  static constexpr int Intervals = 180;
  static constexpr int Points = Intervals + 1;

  double step = 0.0;  // rad
  std::array<double, Points> cos{};
  std::array<double, Points> sin{};
  std::array<double, Points> weight{};
  // 1/cos and 1/sin, 0 where the cosine or sine is exactly zero. Multiplied by 1/beta
  // they give 1/kx and 1/ky without a division per sample; where they are 0 the
  // wavenumber is 0 and the pulse transforms take their small-argument limit anyway.
  std::array<double, Points> inverse_cos{};
  std::array<double, Points> inverse_sin{};
};

// alpha_i = i * span / 180 for i = 0 .. 180.
AngleGrid full_circle_grid();  // span 2 pi
AngleGrid half_circle_grid();  // span pi

}  // namespace velkor
