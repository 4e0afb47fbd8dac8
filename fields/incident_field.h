// The uniform plane wave that drives the system instead of voltage sources, as
// seen by one current element or ground point of the board.
//
// The wave arrives from the direction (theta, phi) of the far-field convention with
// unit amplitude (1 V/m) and the polarisation vector e = -cos p theta^ + sin p phi^:
// p = 0 polarises it in the plane of incidence, p = 90 degrees parallel to the
// board. Its phase at a board point is exp(j psi) with
// psi = K sin(theta) (x cos(phi) + y sin(phi)), referred to the origin.
//
// These are the values in a homogeneous medium (free space, or the image model of
// the ground plane, whose reflection factors the assembly applies). A layout on a
// dielectric substrate needs the field inside the slab, which comes from the
// kernel library by reciprocity and has functions of its own.
#pragma once

#include "solver/complex_arithmetic.h"
#include "solver/frequency_constants.h"

namespace lumetra {

// Angles in degrees, as typed in IncTheta, IncPhi and IncPol.
struct PlaneWave {
  double ThetaDeg = 0.0;
  double PhiDeg = 0.0;
  double PolDeg = 0.0;
};

// The sines and cosines of a wave's three angles, worked out once for the many
// board points one right-hand side reads.
struct PlaneWaveAngles {
  double cosTheta, sinTheta, cosPhi, sinPhi, cosPol, sinPol;
};
PlaneWaveAngles AnglesOf(const PlaneWave& wave);

// The three components below from angles worked out once: the same values bit for bit.
Complex IncidentFieldX(const PlaneWaveAngles& angles, const FrequencyConstants& constants, double x,
                       double y);
Complex IncidentFieldY(const PlaneWaveAngles& angles, const FrequencyConstants& constants, double x,
                       double y);
Complex IncidentFieldZ(const PlaneWaveAngles& angles, const FrequencyConstants& constants, double x,
                       double y);

// x component of the incident field at (x, y) (metres), for the rows of Jx elements.
Complex IncidentFieldX(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                       double y);
// y component, for the rows of Jy elements.
Complex IncidentFieldY(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                       double y);
// z component, for the vertical part of a ground point.
Complex IncidentFieldZ(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                       double y);

}  // namespace lumetra
