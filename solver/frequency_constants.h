// The values every matrix entry of one frequency point depends on.
#pragma once

#include <cmath>

#include "solver/physical_constants.h"

namespace lumetra {

struct FrequencyConstants {
  double FrequencyMHz = 0.0;
  double Omega = 0.0;   // angular frequency, rad/s
  double EpsEff = Eps0; // permittivity of the free-space and image terms, F/m
  double K = 0.0;       // wavenumber in that medium, rad/m
  double EpsR = 1.0;    // relative permittivity of the substrate (1: none)
  bool GroundPlane = false;
  double Height = 0.0;  // ground plane below the layout, m
};

// Omega = 2 pi f, K = Omega sqrt(mu0 EpsEff).
inline FrequencyConstants MakeFrequencyConstants(double frequencyMHz, double epsEff, double epsR,
                                                 bool groundPlane, double heightMetres) {
  FrequencyConstants c;
  c.FrequencyMHz = frequencyMHz;
  c.Omega = TwoPi * frequencyMHz * 1e6;
  c.EpsEff = epsEff;
  c.K = std::sqrt(Mu0 * epsEff) * c.Omega;
  c.EpsR = epsR;
  c.GroundPlane = groundPlane;
  c.Height = heightMetres;
  return c;
}

// A dielectric slab fills the space between the layout and the ground plane.
inline bool SlabPresent(const FrequencyConstants& c) { return c.GroundPlane && c.EpsR > 1.0; }

}  // namespace lumetra
