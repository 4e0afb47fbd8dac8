// Far fields of unit current elements on the slab.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "tests/velkor/kernel_calls.h"

namespace velkor_test {
namespace {

constexpr double Tight = 1e-12;

const Slab Board{1500.0, 4.4, 1.6e-3};

// At broadside kx = ky = 0: Ex = j (eta0 / (2 pi)) exx(0, 0) 4 ax ay and Ey = 0 (exy
// carries kx ky). The spherical unit vectors there are theta = x, phi = y for phi = 0.
TEST(FarField, BroadsideComponentsAreTheCartesianOnes) {
  const double k0 = wavenumber(Board.f), ax = 1e-3, ay = 0.5e-3;
  const Complex ex =
      Complex(0.0, Eta0 / (2.0 * Pi)) * exx(0.0, 0.0, k0, Board.er, Board.h) * (4.0 * ax * ay);
  const Field along_x = far_field(_farfieldjx, 0.0, 0.0, Board, 0.0, 0.0, ax, ay);
  EXPECT_LT(relative_error(along_x.theta, ex), Tight);
  EXPECT_EQ(along_x.phi, Complex(0.0, 0.0));
  // Seen from phi = 90 degrees the same field lies along -phi.
  const Field along_y = far_field(_farfieldjx, 0.0, Pi / 2.0, Board, 0.0, 0.0, ax, ay);
  EXPECT_LT(std::abs(along_y.theta), Tight * std::abs(ex));
  EXPECT_LT(relative_error(along_y.phi, -ex), Tight);
}

TEST(FarField, AirSlabBroadsideIsADipoleOverAGroundPlane) {
  const Slab air{2000.0, 1.0 + 1e-12, 5e-3};
  const double k0 = wavenumber(air.f), ax = 1e-3, ay = 1e-3;
  const Field f = far_field(_farfieldjx, 0.0, 0.0, air, 0.0, 0.0, ax, ay);
  const double expected = Eta0 / (2.0 * Pi) * k0 * std::abs(std::sin(k0 * air.h)) * 4.0 * ax * ay;
  EXPECT_NEAR(std::abs(f.theta), expected, 1e-9 * expected);
}

// Turning the layout by 90 degrees about the normal maps an x element of half-sizes
// (ay, ax) onto a y element of half-sizes (ax, ay); the spherical components of the
// field turn with it.
TEST(FarField, QuarterTurnMapsTheXElementOntoTheYElement) {
  for (double theta : {0.2, 0.9, 1.4})
    for (double phi : {0.3, 2.0, 4.5}) {
      // The rectangles, then the thin segments.
      const std::pair<Field, Field> turned[] = {
          {far_field(_farfieldjx, theta, phi - Pi / 2.0, Board, 0.0, 0.0, 0.3e-3, 0.9e-3),
           far_field(_farfieldjy, theta, phi, Board, 0.0, 0.0, 0.9e-3, 0.3e-3)},
          {far_field(_farfieldjxexc, theta, phi - Pi / 2.0, Board, 0.0, 0.0, 0.7e-3),
           far_field(_farfieldjyexc, theta, phi, Board, 0.0, 0.0, 0.7e-3)}};
      for (const auto& [x, y] : turned)
        EXPECT_LT(std::max(relative_error(x.theta, y.theta), relative_error(x.phi, y.phi)), 1e-10);
    }
}

// A rectangle of width 2 ay -> 0 carrying the current density J radiates like a thin
// segment carrying the current 2 ay J.
TEST(FarField, ThinSegmentIsTheNarrowLimitOfTheRectangle) {
  const double a = 1.2e-3, narrow = 1e-9;
  for (double theta : {0.0, 0.7, 1.3})
    for (double phi : {0.0, 1.0, 2.6}) {
      const Field rect_x = far_field(_farfieldjx, theta, phi, Board, 4e-3, 1e-3, a, narrow);
      const Field seg_x = far_field(_farfieldjxexc, theta, phi, Board, 4e-3, 1e-3, a);
      EXPECT_LT(relative_error(rect_x.theta / (2.0 * narrow), seg_x.theta), 1e-9);
      const Field rect_y = far_field(_farfieldjy, theta, phi, Board, 4e-3, 1e-3, narrow, a);
      const Field seg_y = far_field(_farfieldjyexc, theta, phi, Board, 4e-3, 1e-3, a);
      EXPECT_LT(relative_error(rect_y.phi / (2.0 * narrow), seg_y.phi), 1e-9);
    }
}

// Moving the element multiplies its field by exp(j (kx x + ky y)): the phase is referred
// to the origin and the amplitude does not change.
TEST(FarField, DisplacementOnlyTurnsThePhase) {
  const double k0 = wavenumber(Board.f), x = 30e-3, y = -12e-3, theta = 0.8, phi = 2.1;
  const Complex shift =
      std::exp(Complex(0.0, k0 * std::sin(theta) * (std::cos(phi) * x + std::sin(phi) * y)));
  const Field at_origin = far_field(_farfieldjy, theta, phi, Board, 0.0, 0.0, 1e-3, 0.4e-3);
  const Field moved = far_field(_farfieldjy, theta, phi, Board, x, y, 1e-3, 0.4e-3);
  EXPECT_LT(relative_error(moved.theta, at_origin.theta * shift), Tight);
  EXPECT_LT(relative_error(moved.phi, at_origin.phi * shift), Tight);
}

}  // namespace
}  // namespace velkor_test
