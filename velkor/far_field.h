// Far field of a unit horizontal current element on the slab, from the rigorous
// spectral Green's function evaluated at the observation direction's transverse
// wavenumbers kx = k0 sin(theta) cos(phi), ky = k0 sin(theta) sin(phi) (stationary
// phase). No asymptote is subtracted. The values carry neither the 1/r distance factor
// nor the propagation factor exp(-j k0 r); phases are referred to the origin.
//   P = j (eta0 / (2 pi)) exp(j (kx x + ky y)) with (x, y) the element centre,
//   x source: Ex = P exx T, Ey = P exy T;  y source: Ex = P exy T, Ey = P eyy T,
//   E_theta = Ex cos(phi) + Ey sin(phi),  E_phi = cos(theta) (Ey cos(phi) - Ex sin(phi)),
// where T is the transform of the element: curr for a rectangular element of half-sizes
// (ax, ay), testx or testy (not conjugated) for a thin segment of half-length a.
#pragma once

#include "velkor/constants.h"

namespace velkor {

// Multiplied by the element's current density (A/m) and divided by the distance, the
// components give the field in V/m.
struct FarField {
  Complex theta;  // E_theta
  Complex phi;    // E_phi
};

struct Observation {
  double theta;  // rad, from the board normal
  double phi;    // rad, from +x
  double f_mhz;
  double er;
  double h;  // m
  double x;  // element centre, m
  double y;
};

FarField rectangle_far_field_x(const Observation& at, double ax, double ay);
FarField rectangle_far_field_y(const Observation& at, double ax, double ay);
FarField segment_far_field_x(const Observation& at, double a);
FarField segment_far_field_y(const Observation& at, double a);

}  // namespace velkor
