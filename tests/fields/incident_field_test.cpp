// The incident plane wave at the board: polarisation, phase and transversality.
#include <gtest/gtest.h>

#include <cmath>

#include "fields/incident_field.h"
#include "solver/physical_constants.h"

namespace lumetra {
namespace {

constexpr double Deg = M_PI / 180.0;

FrequencyConstants At(double frequencyMHz) {
  return MakeFrequencyConstants(frequencyMHz, Eps0, 1.0, false, 0.0);
}

void ExpectNear(Complex actual, Complex expected, const char* what) {
  EXPECT_NEAR(actual.Re, expected.Re, 1e-14) << what;
  EXPECT_NEAR(actual.Im, expected.Im, 1e-14) << what;
}

TEST(IncidentField, NormalIncidenceIsTheBarePolarisationEverywhere) {
  const FrequencyConstants c = At(1000.0);
  for (double phi : {0.0, 30.0, 90.0, 135.0, 270.0, 359.0})
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {0.05, -0.02}, {1.3, 0.7}}) {
      const PlaneWave inPlane{0.0, phi, 0.0};
      ExpectNear(IncidentFieldX(inPlane, c, x, y), {-std::cos(phi * Deg), 0.0}, "X, p = 0");
      ExpectNear(IncidentFieldY(inPlane, c, x, y), {-std::sin(phi * Deg), 0.0}, "Y, p = 0");
      ExpectNear(IncidentFieldZ(inPlane, c, x, y), {0.0, 0.0}, "Z, p = 0");
      const PlaneWave parallel{0.0, phi, 90.0};
      ExpectNear(IncidentFieldX(parallel, c, x, y), {-std::sin(phi * Deg), 0.0}, "X, p = 90");
      ExpectNear(IncidentFieldY(parallel, c, x, y), {std::cos(phi * Deg), 0.0}, "Y, p = 90");
      ExpectNear(IncidentFieldZ(parallel, c, x, y), {0.0, 0.0}, "Z, p = 90");
    }
}

TEST(IncidentField, FieldIsAUnitVectorTransverseToTheArrivalDirection) {
  const FrequencyConstants c = At(300.0);
  for (double theta : {10.0, 45.0, 80.0, 90.0})
    for (double phi : {0.0, 60.0, 200.0})
      for (double pol : {0.0, 30.0, 90.0}) {
        const PlaneWave wave{theta, phi, pol};
        const Complex ex = IncidentFieldX(wave, c, 0.0, 0.0);
        const Complex ey = IncidentFieldY(wave, c, 0.0, 0.0);
        const Complex ez = IncidentFieldZ(wave, c, 0.0, 0.0);
        EXPECT_NEAR(ex.Re * ex.Re + ey.Re * ey.Re + ez.Re * ez.Re, 1.0, 1e-14);
        const double t = theta * Deg, p = phi * Deg;
        const double along = ex.Re * std::sin(t) * std::cos(p) + ey.Re * std::sin(t) * std::sin(p) +
                             ez.Re * std::cos(t);
        EXPECT_NEAR(along, 0.0, 1e-14) << theta << " " << phi << " " << pol;
        EXPECT_NEAR(std::fabs(ez.Re), std::cos(pol * Deg) * std::sin(t), 1e-14);
      }
}

TEST(IncidentField, PhaseAdvancesAlongTheProjectedArrivalDirection) {
  // 300 MHz in free space: a wavelength of very nearly 1 m. A wave arriving along
  // the board from +x (theta 90, phi 0) reaches x = lambda/4 a quarter period
  // earlier than the origin: phase +90 degrees.
  const FrequencyConstants c = At(300.0);
  const double quarter = 0.5 * M_PI / c.K;
  const PlaneWave grazing{90.0, 0.0, 90.0};
  ExpectNear(IncidentFieldY(grazing, c, 0.0, 0.0), {1.0, 0.0}, "origin");
  ExpectNear(IncidentFieldY(grazing, c, quarter, 0.3), {0.0, 1.0}, "quarter wave");
  ExpectNear(IncidentFieldY(grazing, c, 2 * quarter, 0.0), {-1.0, 0.0}, "half wave");
  // The same distance along y does not change the phase of this wave.
  ExpectNear(IncidentFieldY(grazing, c, 0.0, quarter), {1.0, 0.0}, "across");

  // From phi = 90 the phase runs along y, scaled by sin(theta).
  const PlaneWave oblique{30.0, 90.0, 0.0};
  const Complex z = IncidentFieldZ(oblique, c, 0.0, 2 * quarter);
  EXPECT_NEAR(std::atan2(z.Im, z.Re), M_PI * 0.5, 1e-12);
  EXPECT_NEAR(std::hypot(z.Re, z.Im), 0.5, 1e-14);
}

}  // namespace
}  // namespace lumetra
