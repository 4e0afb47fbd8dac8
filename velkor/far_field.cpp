#include "velkor/far_field.h"

#include <cmath>

#include "velkor/element_transforms.h"
#include "velkor/slab_green_function.h"

namespace velkor {

namespace {

enum class Direction { x, y };

FarField far_field(const Observation& at, Direction direction, Complex transform, double kx,
                   double ky, const SlabSpectrum& spectrum) {
  const Complex p = J * (Eta0 / (2.0 * Pi)) * std::exp(J * (kx * at.x + ky * at.y));
  const Complex cross = p * spectrum.exy(kx, ky) * transform;
  const Complex ex = direction == Direction::x ? p * spectrum.exx(kx) * transform : cross;
  const Complex ey = direction == Direction::x ? cross : p * spectrum.eyy(ky) * transform;
  const double cos_phi = std::cos(at.phi);
  const double sin_phi = std::sin(at.phi);
  return {ex * cos_phi + ey * sin_phi, std::cos(at.theta) * (ey * cos_phi - ex * sin_phi)};
}

struct TransverseWavenumbers {
  double kx, ky;  // rad/m
  SlabSpectrum spectrum;
};

TransverseWavenumbers at_direction(const Observation& at) {
  const double k0 = free_space_wavenumber(at.f_mhz);
  const double kx = k0 * std::sin(at.theta) * std::cos(at.phi);
  const double ky = k0 * std::sin(at.theta) * std::sin(at.phi);
  return {kx, ky, slab_green_function(kx * kx + ky * ky, k0, at.er, at.h)};
}

}  // namespace

FarField rectangle_far_field_x(const Observation& at, double ax, double ay) {
  const TransverseWavenumbers k = at_direction(at);
  return far_field(at, Direction::x, source_transform(k.kx, k.ky, ax, ay), k.kx, k.ky, k.spectrum);
}

FarField rectangle_far_field_y(const Observation& at, double ax, double ay) {
  const TransverseWavenumbers k = at_direction(at);
  return far_field(at, Direction::y, source_transform(k.kx, k.ky, ax, ay), k.kx, k.ky, k.spectrum);
}

FarField segment_far_field_x(const Observation& at, double a) {
  const TransverseWavenumbers k = at_direction(at);
  return far_field(at, Direction::x, segment_transform(k.kx, a), k.kx, k.ky, k.spectrum);
}

FarField segment_far_field_y(const Observation& at, double a) {
  const TransverseWavenumbers k = at_direction(at);
  return far_field(at, Direction::y, segment_transform(k.ky, a), k.kx, k.ky, k.spectrum);
}

}  // namespace velkor
