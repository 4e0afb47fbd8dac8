// The fields of a layout on a grounded slab: the reciprocal incident field against
// the transmission line of the shorted slab and against the image model as the slab
// vanishes, its scaling with the element length; the slab pattern against the image
// model likewise, and the rule that keeps it off the board plane.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "fields/far_field.h"
#include "fields/far_field_dielectric.h"
#include "fields/incident_field.h"
#include "fields/slab_incident_field.h"
#include "solver/physical_constants.h"

namespace lumetra {
namespace {

using C = std::complex<double>;

C Std(Complex z) { return {z.Re, z.Im}; }

constexpr double mm = 0.001;
constexpr double Eta0 = 376.7343;  // the kernel library's

FrequencyConstants SlabAt(double f, double epsR, double h) {
  return MakeFrequencyConstants(f, Eps0 * (1 + epsR) / 2, epsR, true, h);
}

// At normal incidence the board sees the standing wave above a shorted slab: the
// tangential field at its surface is (1 + Gamma) = 2 Zin / (Zin + eta0), Zin the
// slab's input impedance j (eta0/n) tan(k0 n h).
TEST(SlabIncidentField, NormalIncidenceGivesTheShortedSlabsSurfaceField) {
  for (double epsR : {2.2, 4.4, 10.2})
    for (double f : {1000.0, 6000.0}) {
      const double h = 1.6 * mm, k0 = 2 * M_PI * f / 300, n = std::sqrt(epsR);
      const C zin = C(0, Eta0 / n * std::tan(k0 * n * h));
      const C surface = 2.0 * zin / (zin + Eta0);
      const FrequencyConstants c = SlabAt(f, epsR, h);
      for (double phi : {0.0, 35.0}) {
        const double cf = std::cos(phi * M_PI / 180), sf = std::sin(phi * M_PI / 180);
        // p = 0 polarises along -theta^ = -(cos phi, sin phi); p = 90 along phi^.
        const PlaneWave inPlane{0, phi, 0}, across{0, phi, 90};
        const double x = 12 * mm, y = -7 * mm, length = 1.5 * mm;
        EXPECT_LT(std::abs(Std(SlabIncidentFieldX(inPlane, c, x, y, length)) + cf * surface), 2e-3 * std::abs(surface));
        EXPECT_LT(std::abs(Std(SlabIncidentFieldY(inPlane, c, x, y, length)) + sf * surface), 2e-3 * std::abs(surface));
        EXPECT_LT(std::abs(Std(SlabIncidentFieldX(across, c, x, y, length)) + sf * surface), 2e-3 * std::abs(surface));
        EXPECT_LT(std::abs(Std(SlabIncidentFieldY(across, c, x, y, length)) - cf * surface), 2e-3 * std::abs(surface));
      }
    }
}

// A slab of permittivity 1 is the bare ground plane: the image model's field times
// its reflection factor 1 - exp(-j 2 k h cos theta). (The library takes c as 300
// m/us, the solver 299.79: 0.07 % apart.)
TEST(SlabIncidentField, VanishingSlabIsTheImageModel) {
  const double h = 2 * mm, f = 3000;
  const FrequencyConstants slab = SlabAt(f, 1.000001, h);
  const FrequencyConstants air = MakeFrequencyConstants(f, Eps0, 1.0, true, h);
  for (double theta : {0.0, 30.0, 70.0})
    for (double pol : {0.0, 50.0, 90.0}) {
      const PlaneWave w{theta, 20, pol};
      const double delay = 2 * air.K * h * std::cos(theta * M_PI / 180);
      const C reflection(1 - std::cos(delay), std::sin(delay));
      const double x = 15 * mm, y = 25 * mm, length = 1 * mm;
      const C imageX = Std(IncidentFieldX(w, air, x, y)) * reflection;
      const C imageY = Std(IncidentFieldY(w, air, x, y)) * reflection;
      const double scale = std::abs(reflection);
      EXPECT_LT(std::abs(Std(SlabIncidentFieldX(w, slab, x, y, length)) - imageX), 5e-3 * scale) << theta << " " << pol;
      EXPECT_LT(std::abs(Std(SlabIncidentFieldY(w, slab, x, y, length)) - imageY), 5e-3 * scale) << theta << " " << pol;
    }
}

// The field along an element is the mean over its length: sin(kx L/2)/(kx L/2)
// times the field at its centre, kx the wave's wavenumber along the element.
TEST(SlabIncidentField, ScalesWithTheElementLengthAsTheMeanOverIt) {
  const double f = 3000, k0 = 2 * M_PI * f / 300, theta = 60, phi = 20;
  const FrequencyConstants c = SlabAt(f, 4.4, 1.6 * mm);
  const PlaneWave w{theta, phi, 30};
  const auto sinc = [](double u) { return std::sin(u) / u; };
  const double kx = k0 * std::sin(theta * M_PI / 180) * std::cos(phi * M_PI / 180);
  const double ky = k0 * std::sin(theta * M_PI / 180) * std::sin(phi * M_PI / 180);
  for (double length : {2 * mm, 10 * mm, 30 * mm}) {
    const C x1 = Std(SlabIncidentFieldX(w, c, 0.01, 0.02, length));
    const C x2 = Std(SlabIncidentFieldX(w, c, 0.01, 0.02, 2 * length));
    EXPECT_LT(std::abs(x2 / x1 - sinc(kx * length) / sinc(kx * length / 2)), 1e-9) << length;
    const C y1 = Std(SlabIncidentFieldY(w, c, 0.01, 0.02, length));
    const C y2 = Std(SlabIncidentFieldY(w, c, 0.01, 0.02, 2 * length));
    EXPECT_LT(std::abs(y2 / y1 - sinc(ky * length) / sinc(ky * length / 2)), 1e-9) << length;
  }
  // At normal incidence the field is the same along every length.
  const PlaneWave normal{0, 0, 0};
  EXPECT_LT(std::abs(Std(SlabIncidentFieldX(normal, c, 0, 0, 1 * mm)) -
                     Std(SlabIncidentFieldX(normal, c, 0, 0, 40 * mm))),
            1e-12);
}

TEST(SlabFarField, ThetaAlongTheBoardIsMovedTo8999Degrees) {
  // The sum of 45 steps of 2 may land just below 90.
  std::vector<double> moved;
  for (double theta : {90.0, -90.0, 90.0 - 1e-12, 89.9, 0.0, 90.05})
    moved.push_back(SlabPatternTheta(theta));
  EXPECT_EQ(moved, (std::vector<double>{89.99, -89.99, 89.99, 89.9, 0.0, 90.05}));
}

// A slab of permittivity 1 radiates like the image model: the same currents give
// the same pattern (complex values, both components).
TEST(SlabFarField, VanishingSlabIsTheImageModel) {
  ElementLists lists;
  lists.Jx = {{0.01, 0.02, 2 * mm, 3 * mm, 1, 2}, {0.03, 0.02, 2 * mm, 3 * mm, 2, 3}};
  lists.Jy = {{-0.01, 0.005, 3 * mm, 1 * mm, 1, 2}};
  const Complex ix[] = {{1.0, 0.5}, {-0.2, 0.7}}, iy[] = {{-0.3, 0.2}};
  const double f = 3000, h = 1.6 * mm;
  const SlabMedium slab{1.000001, f, h};
  const FarFieldMedium image = MediumOf(MakeFrequencyConstants(f, Eps0, 1.0, true, h));
  const RadiatingCurrents currents = CurrentsOfSolution(lists, ix, iy, nullptr, h);
  const auto never = [] { return false; };
  for (double theta : {0.0, 30.0, 60.0, 85.0})
    for (double phi : {0.0, 40.0, 200.0}) {
      FarFieldValue a, b;
      ASSERT_TRUE(EvaluateSlabFarField(lists, ix, iy, slab, theta, phi, never, a));
      ASSERT_TRUE(EvaluateFarField(currents, image, theta, phi, never, b));
      const double size = std::hypot(CAbs(b.ETheta), CAbs(b.EPhi));
      EXPECT_LT(std::abs(Std(a.ETheta) - Std(b.ETheta)), 5e-3 * size) << theta << " " << phi;
      EXPECT_LT(std::abs(Std(a.EPhi) - Std(b.EPhi)), 5e-3 * size) << theta << " " << phi;
    }
}

}  // namespace
}  // namespace lumetra
