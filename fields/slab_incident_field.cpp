#include "fields/slab_incident_field.h"

#include <cmath>

#include "solver/physical_constants.h"
#include "velkor/velkor.h"

namespace lumetra {

namespace {

constexpr double DegreeToRadian = 0.017453292519943295;

using SegmentPattern = void (*)(double, double, double, double, double, double, double, double,
                                double*, double*, double*, double*);

// With the pattern (E_theta, E_phi) of a unit segment of length L towards the
// wave's arrival direction, and the polarisation e = -cos p theta^ + sin p phi^,
// W = sin p E_phi - cos p E_theta, and the field along the segment is
// j 2 W / (mu0 f L) with f in Hz.
Complex Reciprocal(SegmentPattern pattern, const PlaneWave& wave, const FrequencyConstants& c,
                   double x, double y, double length) {
  Complex eTheta, ePhi;
  pattern(wave.ThetaDeg * DegreeToRadian, wave.PhiDeg * DegreeToRadian, c.FrequencyMHz, c.EpsR,
          c.Height, x, y, length / 2, &eTheta.Re, &eTheta.Im, &ePhi.Re, &ePhi.Im);
  const double pol = wave.PolDeg * DegreeToRadian;
  const double sinPol = std::sin(pol), cosPol = std::cos(pol);
  const Complex w{sinPol * ePhi.Re - cosPol * eTheta.Re, sinPol * ePhi.Im - cosPol * eTheta.Im};
  const double scale = 2.0 / (Mu0 * c.FrequencyMHz * 1e6 * length);
  return {-w.Im * scale, w.Re * scale};
}

}  // namespace

Complex SlabIncidentFieldX(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                           double y, double dx) {
  return Reciprocal(_farfieldjxexc, wave, constants, x, y, dx);
}

Complex SlabIncidentFieldY(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                           double y, double dy) {
  return Reciprocal(_farfieldjyexc, wave, constants, x, y, dy);
}

}  // namespace lumetra
