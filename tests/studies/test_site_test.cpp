// The field at a test site and the largest reading over its scan, against the
// closed forms of a Hertzian dipole, of a dipole over a ground plane, of the
// direct and floor-reflected waves, and against a fine brute-force scan.
#include "studies/emission/test_site.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "fields/near_field_kernels.h"
#include "studies/emission/dipole_field.h"
#include "tests/fields/near_field_fixtures.h"
#include "tests/support/error_text.h"

namespace lumetra::emission {
namespace {

using C = std::complex<double>;
constexpr double Pi = std::numbers::pi;
constexpr double Eta = 120.0 * Pi;
constexpr double SpeedOfLight = 299792458.0;  // close enough: only k enters

double Deg(double rad) { return rad * 180.0 / Pi; }
double K0(double mhz) { return 2.0 * Pi * mhz * 1e6 / SpeedOfLight; }

struct Vec {
  C X, Y, Z;
};
double Norm(const Vec& v) { return std::sqrt(std::norm(v.X) + std::norm(v.Y) + std::norm(v.Z)); }
Vec AsVec(const FieldVector& e) { return {e.Ex, e.Ey, e.Ez}; }

// The textbook field of a dipole of moment m along the unit vector p, at the
// offset (rx, ry, rz) from its centre (the closed form of near_field_fixtures.h).
Vec TextbookDipole(const double p[3], C m, double rx, double ry, double rz, double k) {
  const auto e = lumetra::testing::HertzianDipole(m, {p[0], p[1], p[2]}, {0, 0, 0}, {rx, ry, rz},
                                                  k, Eta).E;
  return {e[0], e[1], e[2]};
}

const double* UnitAxis(DipoleAxis axis) {
  static const double units[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  return units[static_cast<int>(axis)];
}

void ExpectSameField(const Vec& got, const Vec& want, double tol) {
  const double scale = Norm(want);
  EXPECT_LE(std::abs(got.X - want.X), tol * scale);
  EXPECT_LE(std::abs(got.Y - want.Y), tol * scale);
  EXPECT_LE(std::abs(got.Z - want.Z), tol * scale);
}

// --- 1. One dipole and many: the exact near-, intermediate- and far-zone field ---

TEST(DipoleField, EachAxisMatchesTheTextbookFieldFromNearToFarZone) {
  const double k = K0(300.0);
  for (DipoleAxis axis : {DipoleAxis::X, DipoleAxis::Y, DipoleAxis::Z}) {
    const PointDipole d{0.01, -0.02, 0.003, axis, C(2e-4, -7e-4)};
    for (double kd : {0.5, 2.0, 20.0}) {
      const double r = kd / k;
      for (auto [theta, phi] : {std::pair{30.0, 40.0}, {90.0, 0.0}, {125.0, 250.0}, {0.0, 0.0}}) {
        const double t = theta * Pi / 180, f = phi * Pi / 180;
        const double rx = r * std::sin(t) * std::cos(f), ry = r * std::sin(t) * std::sin(f),
                     rz = r * std::cos(t);
        SCOPED_TRACE("axis " + std::to_string(static_cast<int>(axis)) + " kd " +
                     std::to_string(kd) + " theta " + std::to_string(theta));
        const Vec got = AsVec(ElectricFieldAt({d}, d.X + rx, d.Y + ry, d.Z + rz, k));
        ExpectSameField(got, TextbookDipole(UnitAxis(axis), d.Moment, rx, ry, rz, k), 1e-9);
      }
    }
  }
}

TEST(DipoleField, SumAgreesWithTheNearFieldKernelsIncludingGroundPlaneImages) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  NearFieldSources sources;
  for (int g = 0; g < SourceGroupCount; ++g)
    for (int i = 0; i < 40; ++i) {
      Dipole d;
      d.X = 0.05 * u(random), d.Y = 0.05 * u(random);
      d.Axis = g == 4 ? DipoleAxis::Z : (g < 2 ? DipoleAxis::X : DipoleAxis::Y);
      d.Z = g == 4 ? -0.0008 : 0.0;
      d.Moment = {1e-4 * u(random), 1e-4 * u(random)};
      d.HasImage = g != 4;
      d.ImageZ = -0.0032;
      sources.Groups[static_cast<std::size_t>(g)].push_back(d);
    }
  const std::vector<PointDipole> flat = FlattenSources(sources);
  ASSERT_EQ(flat.size(), 4u * 80u + 40u);
  EXPECT_EQ(flat[1].Z, -0.0032);  // the image follows its dipole, moment reversed
  EXPECT_EQ(flat[1].Moment, -flat[0].Moment);
  for (double mhz : {30.0, 1000.0, 6000.0}) {
    const double k = K0(mhz);
    for (auto [x, y, z] : {std::tuple{0.3, -0.1, 0.02}, {-2.0, 1.0, 1.5}, {0.01, 0.0, -0.002}}) {
      FieldSample want;
      bool tooClose = false;
      for (const auto& group : sources.Groups)
        for (const Dipole& d : group) AddDipoleField(d, x, y, z, k, want, tooClose);
      const Vec ref{C(want.Ex.Re, want.Ex.Im), C(want.Ey.Re, want.Ey.Im),
                    C(want.Ez.Re, want.Ez.Im)};
      ExpectSameField(AsVec(ElectricFieldAt(flat, x, y, z, k)), ref, 1e-11);
    }
  }
  // A field point on a dipole's centre leaves that dipole out and stays finite.
  const FieldVector e = ElectricFieldAt(flat, flat[0].X, flat[0].Y, flat[0].Z, K0(100.0));
  EXPECT_TRUE(std::isfinite(std::abs(e.Ex) + std::abs(e.Ey) + std::abs(e.Ez)));
}

TEST(DipoleField, PolynomialSineAndCosineHoldOverThePhasesOfAnySite) {
  double worst = 0.0;
  for (double x = 0.0; x < 2e5; x = x * 1.0007 + 0.0013) {
    double s, c;
    PolynomialSinCos(x, s, c);
    worst = std::max({worst, std::abs(s - std::sin(x)), std::abs(c - std::cos(x))});
  }
  EXPECT_LT(worst, 1e-15 * 2e5 * 1e-4 + 5e-16);
}

TEST(DipoleField, FloorImagesLeaveNoTangentialFieldOnTheFloor) {
  const std::vector<PointDipole> board = {{0.02, 0.01, 0.0, DipoleAxis::X, C(1e-3, 2e-4)},
                                          {-0.03, 0.0, 0.0, DipoleAxis::Y, C(-4e-4, 1e-3)},
                                          {0.0, -0.04, -0.001, DipoleAxis::Z, C(3e-4, 0)}};
  const std::vector<PointDipole> mirrored = WithFloorImages(board, -0.8);
  ASSERT_EQ(mirrored.size(), 6u);
  EXPECT_DOUBLE_EQ(mirrored[5].Z, -1.599);
  EXPECT_EQ(mirrored[3].Moment, -board[0].Moment);  // horizontal: reversed
  EXPECT_EQ(mirrored[5].Moment, board[2].Moment);   // vertical: kept
  for (double mhz : {30.0, 1000.0})
    for (auto [x, y] : {std::pair{0.5, 0.2}, {-3.0, 2.0}}) {
      const FieldVector e = ElectricFieldAt(mirrored, x, y, -0.8, K0(mhz));
      EXPECT_LE(std::abs(e.Ex) + std::abs(e.Ey), 1e-12 * std::abs(e.Ez));
    }
}

// --- 2. Free site: the maximum over the sphere ---

TEST(FreeSite, ZDipoleMaximumIsTheLargerOfAxialAndBroadsideField) {
  // |E|^2 = |E_r(0)|^2 cos^2 + |E_theta(90)|^2 sin^2: the quasi-static radial field
  // on the axis wins close in, the radiated broadside field far out.
  const PointDipole d{0, 0, 0, DipoleAxis::Z, C(3e-4, 4e-4)};
  SiteSettings site;
  site.DistanceM = 3.0;
  for (double kd : {0.5, 2.0, 20.0}) {
    const double k = kd / site.DistanceM, u = kd, m = std::abs(d.Moment);
    const double axial = Eta * m / (2 * Pi * 9.0) * std::abs(C(1.0, -1.0 / u));
    const double broadside = Eta * k * m / (4 * Pi * 3.0) * std::abs(C(1 - 1 / (u * u), -1 / u));
    const SiteMaximum got = ScanSite({d}, k, site);
    SCOPED_TRACE(kd);
    EXPECT_NEAR(got.FieldVm, std::max(axial, broadside), 1e-9 * got.FieldVm);
    if (axial > broadside)
      EXPECT_LT(std::min(got.ThetaDeg, 180.0 - got.ThetaDeg), 0.01);
    else
      EXPECT_NEAR(got.ThetaDeg, 90.0, 0.01);
    EXPECT_EQ(got.Pol, Polarisation::Total);
  }
  EXPECT_LT(Eta * 0.5 / (2 * Pi * 9) * std::abs(C(1, -1 / 20.0)),
            Eta * (20.0 / 3) / (4 * Pi * 3) * 0.99);  // kd 20 is the broadside case
}

TEST(FreeSite, XDipoleRadiatesMostAcrossItsAxis) {
  // Far out the broadside circle (the y-z plane) is the maximum, at 30 k m / d.
  SiteSettings site;
  site.DistanceM = 10.0;
  const double k = K0(1000.0);
  const SiteMaximum got = ScanSite({{0, 0, 0, DipoleAxis::X, C(1e-3, 0)}}, k, site);
  const double t = got.ThetaDeg * Pi / 180, p = got.PhiDeg * Pi / 180;
  EXPECT_NEAR(std::sin(t) * std::cos(p), 0.0, 0.002);  // across the axis
  const double u = k * site.DistanceM;
  EXPECT_NEAR(got.FieldVm, 30.0 * k * 1e-3 / site.DistanceM * std::abs(C(1 - 1 / (u * u), -1 / u)),
              1e-9 * got.FieldVm);
}

TEST(FreeSite, HorizontalDipoleOverGroundPlaneFollowsTheArrayFactor) {
  // Far away, dipole and reversed image give 2 |sin(k h cos theta)| times the single
  // dipole's 30 k m / r, largest across the dipole: at cos theta = pi / (2 k h) when
  // k h >= pi / 2, otherwise at the zenith. The dipole points 27 degrees from x, so
  // the maximum (theta 51.3, phi 117 or 297 at h = 0.4 lambda) lies off the grid.
  SiteSettings site;
  site.DistanceM = 1000.0;
  site.UpperHemisphereOnly = true;
  const double k = 2 * Pi, m = 1e-3;  // lambda = 1 m
  const double c = std::cos(27 * Pi / 180), s = std::sin(27 * Pi / 180);
  for (double h : {0.4, 0.125}) {
    std::vector<PointDipole> pair;
    for (double z : {h, -h})
      for (auto [axis, part] : {std::pair{DipoleAxis::X, c}, {DipoleAxis::Y, s}})
        pair.push_back({0, 0, z, axis, C(z > 0 ? m * part : -m * part, 0)});
    const SiteMaximum got = ScanSite(pair, k, site);
    const double single = 30.0 * k * m / site.DistanceM;
    SCOPED_TRACE(h);
    if (k * h >= Pi / 2) {
      EXPECT_NEAR(got.FieldVm, 2 * single, 2e-4 * single);
      EXPECT_NEAR(got.ThetaDeg, Deg(std::acos(Pi / (2 * k * h))), 0.15);
      EXPECT_NEAR(std::fmod(got.PhiDeg, 180.0), 117.0, 0.15);
    } else {
      EXPECT_NEAR(got.FieldVm, 2 * std::sin(k * h) * single, 2e-4 * single);
      EXPECT_LT(got.ThetaDeg, 0.5);
    }
  }
}

TEST(FreeSite, UpperHemisphereExcludesTheStrongerDownwardBeam) {
  // Two x-dipoles a quarter wave apart in z, the lower one lagging by 90 degrees:
  // an end-fire pair that radiates 2 m straight down, nothing straight up and
  // sqrt(2) m along the horizon across the dipoles.
  const double k = 2 * Pi, m = 1e-3;
  const std::vector<PointDipole> pair = {{0, 0, 0.125, DipoleAxis::X, C(m, 0)},
                                         {0, 0, -0.125, DipoleAxis::X, C(0, -m)}};
  SiteSettings site;
  site.DistanceM = 1000.0;
  const double single = 30.0 * k * m / site.DistanceM;
  const SiteMaximum whole = ScanSite(pair, k, site);
  EXPECT_NEAR(whole.FieldVm, 2 * single, 1e-3 * single);
  EXPECT_GT(whole.ThetaDeg, 179.5);
  site.UpperHemisphereOnly = true;
  const SiteMaximum upper = ScanSite(pair, k, site);
  EXPECT_NEAR(upper.FieldVm, std::sqrt(2.0) * single, 1e-3 * single);
  EXPECT_NEAR(upper.ThetaDeg, 90.0, 0.01);
}

// --- 3. Semi-anechoic site: direct and floor-reflected waves ---

TEST(SemiAnechoicSite, HeightScanIsTheDirectPlusReflectedWave) {
  SiteSettings site;
  site.Kind = SiteKind::SemiAnechoic;
  const C m(2e-4, -1e-4);
  const double h = site.EutHeightM, d = site.DistanceM;
  const double xAxis[3] = {1, 0, 0}, zAxis[3] = {0, 0, 1};
  for (double mhz : {30.0, 300.0, 1000.0})
    for (double height = 1.0; height <= 4.0; height += 0.25) {
      const double k = K0(mhz);
      // Horizontal dipole broadside (turntable 90 degrees): reflection -1; the
      // antenna reads E . (-1, 0, 0).
      const C hDirect = TextbookDipole(xAxis, m, 0, d, height - h, k).X;
      const C hReflected = TextbookDipole(xAxis, -m, 0, d, height + h, k).X;
      const SiteMaximum hWhere{0, 0, 90.0, height, Polarisation::Horizontal};
      const double hGot = ReadingAt({{0, 0, 0, DipoleAxis::X, m}}, k, site, hWhere);
      EXPECT_NEAR(hGot, std::abs(hDirect + hReflected), 1e-9 * std::abs(hDirect));
      // Vertical dipole, vertical polarisation: reflection +1.
      const double c = std::cos(0.6), s = std::sin(0.6);  // turntable 34.4 degrees
      const C vDirect = TextbookDipole(zAxis, m, d * c, d * s, height - h, k).Z;
      const C vReflected = TextbookDipole(zAxis, m, d * c, d * s, height + h, k).Z;
      const SiteMaximum vWhere{0, 0, Deg(0.6), height, Polarisation::Vertical};
      const double vGot = ReadingAt({{0, 0, 0, DipoleAxis::Z, m}}, k, site, vWhere);
      EXPECT_NEAR(vGot, std::abs(vDirect + vReflected), 1e-9 * std::abs(vDirect));
    }
}

// --- 4. The scan against a fine brute-force scan ---

struct FineMaximum {
  double Value = 0.0;
  SiteMaximum Where;
  double ByPolarisation[3] = {0.0, 0.0, 0.0};  // the best of each reading
};

FineMaximum BruteForce(const std::vector<PointDipole>& board, double k, const SiteSettings& s) {
  const bool sac = s.Kind == SiteKind::SemiAnechoic;
  const DipoleArrays radiators =
      ArrangeDipoles(sac ? WithFloorImages(board, -s.EutHeightM) : board);
  FineMaximum best;
  const double aLow = sac ? s.MinHeightM : 0.0, aHigh = sac ? s.MaxHeightM : 180.0;
  const double aStep = sac ? 0.005 : 0.5;
  for (double a = aLow; a <= aHigh + 1e-9; a += aStep)
    for (double phi = 0.0; phi < 360.0; phi += 0.5) {
      SiteMaximum where{0, sac ? 0.0 : a, phi, sac ? a : 0.0, Polarisation::Total};
      const SitePoint p = SitePosition(s, where);
      const FieldVector e = SummedField(radiators, p.X, p.Y, p.Z, k);
      for (Polarisation pol : sac ? std::vector{Polarisation::Horizontal, Polarisation::Vertical}
                                  : std::vector{Polarisation::Total}) {
        const double v = ReadComponent(e, pol, phi);
        double& ofPol = best.ByPolarisation[static_cast<int>(pol)];
        ofPol = std::max(ofPol, v);
        if (v > best.Value) {
          best.Value = v;
          best.Where = {v, where.ThetaDeg, phi, where.HeightM, pol};
        }
      }
    }
  return best;
}

// Two or three dipoles of any axis spread over 10 cm, as a small board's traces
// and ground points are.
std::vector<PointDipole> SmallBoard(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<PointDipole> board;
  const int count = 2 + static_cast<int>(seed % 2);
  for (int i = 0; i < count; ++i) {
    const auto axis = static_cast<DipoleAxis>((seed + i) % 3);
    board.push_back({0.05 * u(random), 0.05 * u(random), axis == DipoleAxis::Z ? -0.001 : 0.0, axis,
                     C(1e-4 * u(random), 1e-4 * u(random))});
  }
  board.front().X = -0.05;  // the full 10 cm spread
  board.back().X = 0.05;
  return board;
}

// The scan against the fine scan on one board: the reported place reads the
// reported value, and that falls short of the fine maximum by at most
// toleranceDb.
void ExpectNearTheFineMaximum(const std::vector<PointDipole>& board, double mhz,
                              const SiteSettings& site, double toleranceDb) {
  const double k = K0(mhz);
  const SiteMaximum got = ScanSite(board, k, site);
  const FineMaximum fine = BruteForce(board, k, site);
  const double shortfallDb = 20 * std::log10(fine.Value / got.FieldVm);
  EXPECT_LT(shortfallDb, toleranceDb);
  EXPECT_GT(shortfallDb, -0.1);  // the fine scan samples within 0.05 dB of the peak
  EXPECT_NEAR(ReadingAt(board, k, site, got), got.FieldVm, 1e-12 * got.FieldVm);
  if (site.Kind == SiteKind::SemiAnechoic) {
    EXPECT_GE(got.HeightM, site.MinHeightM);
    EXPECT_LE(got.HeightM, site.MaxHeightM);
    EXPECT_NEAR(got.ThetaDeg, Deg(std::atan2(site.DistanceM, got.HeightM - site.EutHeightM)), 1e-9);
    // The other polarisation only when it reads nearly as high.
    const double ofPol = fine.ByPolarisation[static_cast<int>(got.Pol)];
    EXPECT_LT(20 * std::log10(fine.Value / ofPol), 1.0);
  }
  EXPECT_GE(got.PhiDeg, 0.0);
  EXPECT_LT(got.PhiDeg, 360.0);
}

// The scan must come within 1 dB of the fine maximum. On these boards it comes
// within 0.2 dB, and is held to that: without the climbs it falls 0.4 dB short at
// 1 GHz, and with the fixed default grid 0.9 dB at 6 GHz, where the floor
// reflection's height lobes are 9 cm apart.
void ExpectScanFindsTheFineMaximum(SiteKind kind) {
  for (unsigned seed : {1u, 2u, 3u})
    for (double mhz : {30.0, 300.0, 1000.0, 6000.0}) {
      SCOPED_TRACE(std::string(SiteKindName(kind)) + " board " + std::to_string(seed) + " at " +
                   std::to_string(mhz) + " MHz");
      SiteSettings site;
      site.Kind = kind;
      site.BoardCentreX = 0.004;  // the centre need not be a radiator
      ExpectNearTheFineMaximum(SmallBoard(seed), mhz, site, 0.2);
    }
}

TEST(SiteScan, FreeSiteFindsTheFineScanMaximumFrom30MHzTo6GHz) {
  ExpectScanFindsTheFineMaximum(SiteKind::Free);
}

TEST(SiteScan, SemiAnechoicSiteFindsTheFineScanMaximumFrom30MHzTo6GHz) {
  ExpectScanFindsTheFineMaximum(SiteKind::SemiAnechoic);
}

TEST(SiteScan, TurntableGridNarrowsForALargeBoard) {
  // 40 cm at 6 GHz: turntable lobes 7 degrees apart, closer than the 15-degree
  // default step, which would leave the scan 0.9 dB short here.
  std::vector<PointDipole> board = SmallBoard(12);
  for (PointDipole& d : board) d.X *= 4, d.Y *= 4;
  SiteSettings site;
  site.Kind = SiteKind::SemiAnechoic;
  ExpectNearTheFineMaximum(board, 6000.0, site, 0.4);
}

TEST(SiteScan, WithoutRefinementTheGridPointIsReported) {
  SiteSettings site;
  site.Refine = false;
  const std::vector<PointDipole> board = SmallBoard(4);
  const SiteMaximum got = ScanSite(board, K0(500.0), site);
  EXPECT_EQ(std::fmod(got.ThetaDeg, 10.0), 0.0);
  EXPECT_EQ(std::fmod(got.PhiDeg, 10.0), 0.0);
  site.Refine = true;
  EXPECT_GE(ScanSite(board, K0(500.0), site).FieldVm, got.FieldVm);
}

// --- 5. Receiver reading ---

TEST(ReceiverReading, DbMicroVoltPerMetreIsTheRmsValue) {
  EXPECT_NEAR(FieldDbuvM(std::sqrt(2.0) * 1e-6), 0.0, 1e-12);
  EXPECT_NEAR(FieldDbuvM(1.0), 120.0 - 3.0103, 1e-4);
  EXPECT_NEAR(FieldDbuvM(2.0) - FieldDbuvM(1.0), 6.0206, 1e-4);
  EXPECT_STREQ(SiteKindName(SiteKind::Free), "free");
  EXPECT_STREQ(SiteKindName(SiteKind::SemiAnechoic), "sac");
  EXPECT_STREQ(PolarisationName(Polarisation::Total), "total");
  EXPECT_STREQ(PolarisationName(Polarisation::Horizontal), "horizontal");
  EXPECT_STREQ(PolarisationName(Polarisation::Vertical), "vertical");
}

// --- 6. Settings refused ---

std::string Refusal(const SiteSettings& s) {
  return lumetra::testing::ErrorText<std::invalid_argument>([&] { ValidateSiteSettings(s); });
}

TEST(SiteSettingsCheck, EachBadValueIsRefusedByName) {
  const std::string distance =
      "Error: The test distance must be a positive number of metres, at most 1000";
  const std::string lowest = "Error: The lowest antenna height must be between 0 and 20 metres";
  struct Case {
    bool sac;
    void (*set)(SiteSettings&);
    std::string message;
  };
  const Case cases[] = {
      {false, [](SiteSettings& s) { s.DistanceM = 0.0; }, distance},
      {false, [](SiteSettings& s) { s.DistanceM = -3.0; }, distance},
      {false, [](SiteSettings& s) { s.DistanceM = 1000.5; }, distance},
      {false, [](SiteSettings& s) { s.DistanceM = std::nan(""); }, distance},
      {false, [](SiteSettings& s) { s.DistanceM = 1000.0; }, "no error"},
      {false, [](SiteSettings& s) { s.BoardCentreY = INFINITY; },
       "Error: The board centre must be a finite position"},
      {false, [](SiteSettings& s) { s.ThetaStepDeg = 0.0; },
       "Error: The theta step of the scan must be between 0.1 and 90 degrees"},
      {false, [](SiteSettings& s) { s.PhiStepDeg = 200.0; },
       "Error: The phi step of the scan must be between 0.1 and 180 degrees"},
      {false, [](SiteSettings& s) { s.MinHeightM = 5.0; }, "no error"},  // no mast on a free site
      {true, [](SiteSettings& s) { s.EutHeightM = 0.0; },
       "Error: The height of the board above the floor must be a positive number of metres, at most 10"},
      {true, [](SiteSettings& s) { s.MinHeightM = -0.5; }, lowest},
      {true, [](SiteSettings& s) { s.MaxHeightM = 25.0; },
       "Error: The highest antenna height must be between 0 and 20 metres"},
      {true, [](SiteSettings& s) { s.MinHeightM = 4.0; },
       "Error: The lowest antenna height must be below the highest antenna height"},
      {true, [](SiteSettings& s) { s.HeightStepM = 0.0; },
       "Error: The antenna height step must be between 0.001 and 20 metres"},
      {true, [](SiteSettings& s) { s.TurntableStepDeg = 0.01; },
       "Error: The turntable step must be between 0.1 and 180 degrees"},
      {true, [](SiteSettings& s) { s.ThetaStepDeg = -1.0; }, "no error"},  // a free-site value
  };
  for (const Case& c : cases) {
    SiteSettings s;
    if (c.sac) s.Kind = SiteKind::SemiAnechoic;
    c.set(s);
    EXPECT_EQ(Refusal(s), c.message);
  }
  SiteSettings s;
  s.Kind = SiteKind::SemiAnechoic;
  const std::vector<PointDipole> one = {{0, 0, 0, DipoleAxis::X, C(1, 0)}};
  s.TurntableStepDeg = 0.0;
  EXPECT_THROW(ScanSite(one, 1.0, s), std::invalid_argument);
  EXPECT_THROW(ScanSite(one, 0.0, SiteSettings{}), std::invalid_argument);
  EXPECT_THROW(ReadingAt(one, std::nan(""), SiteSettings{}, {}), std::invalid_argument);
}

}  // namespace
}  // namespace lumetra::emission
