#include "fields/incident_field.h"

#include <cmath>

namespace lumetra {

namespace {

constexpr double DegreeToRadian = 0.017453292519943295;

// amplitude * exp(j psi): the wave's phase at (x, y) relative to the origin.
Complex WithPhase(double amplitude, const PlaneWaveAngles& a, double k, double x, double y) {
  const double psi = k * a.sinTheta * (x * a.cosPhi + y * a.sinPhi);
  return {amplitude * std::cos(psi), amplitude * std::sin(psi)};
}

}  // namespace

PlaneWaveAngles AnglesOf(const PlaneWave& wave) {
  const double theta = wave.ThetaDeg * DegreeToRadian;
  const double phi = wave.PhiDeg * DegreeToRadian;
  const double pol = wave.PolDeg * DegreeToRadian;
  return {std::cos(theta), std::sin(theta), std::cos(phi),
          std::sin(phi),   std::cos(pol),   std::sin(pol)};
}

// With theta^ = (cos t cos f, cos t sin f, -sin t) and phi^ = (-sin f, cos f, 0),
// e = -cos p theta^ + sin p phi^ gives the three components below.

Complex IncidentFieldX(const PlaneWaveAngles& a, const FrequencyConstants& constants, double x,
                       double y) {
  return WithPhase(-(a.cosPol * a.cosTheta * a.cosPhi + a.sinPol * a.sinPhi), a, constants.K, x, y);
}

Complex IncidentFieldY(const PlaneWaveAngles& a, const FrequencyConstants& constants, double x,
                       double y) {
  return WithPhase(a.sinPol * a.cosPhi - a.cosPol * a.cosTheta * a.sinPhi, a, constants.K, x, y);
}

Complex IncidentFieldZ(const PlaneWaveAngles& a, const FrequencyConstants& constants, double x,
                       double y) {
  return WithPhase(a.cosPol * a.sinTheta, a, constants.K, x, y);
}

Complex IncidentFieldX(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                       double y) {
  return IncidentFieldX(AnglesOf(wave), constants, x, y);
}

Complex IncidentFieldY(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                       double y) {
  return IncidentFieldY(AnglesOf(wave), constants, x, y);
}

Complex IncidentFieldZ(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                       double y) {
  return IncidentFieldZ(AnglesOf(wave), constants, x, y);
}

}  // namespace lumetra
