// A microstrip resonator on a grounded slab against the closed forms of microstrip
// design: its half-wave resonance gives the effective permittivity of the line,
// which must match Hammerstad and Jensen's formula, and the effective-permittivity
// model of the program must resonate near the rigorous solution.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "fields/result_readers.h"
#include "model/number_format.h"
#include "model/project_files.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/engine/nec_reference.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::FirstResonance;
using testing::PortImpedances;
using testing::RecordingUi;
using testing::TempDir;

constexpr double SpeedOfLight = 299792458.0;  // m/s, of the solver's mu0 and eps0 within 0.01 %

struct Microstrip {
  double EpsR = 4.4;
  double HeightMm = 1.6;
  double WidthMm = 3.0;
  double LengthMm = 50.0;
};

// Hammerstad and Jensen, "Accurate models for microstrip computer-aided design"
// (1980): the static effective permittivity of a strip of width w on height h.
double HammerstadJensenEpsEff(const Microstrip& m) {
  const double u = m.WidthMm / m.HeightMm, er = m.EpsR;
  const double a = 1 + std::log((std::pow(u, 4) + std::pow(u / 52, 2)) / (std::pow(u, 4) + 0.432)) / 49 +
                   std::log(1 + std::pow(u / 18.1, 3)) / 18.7;
  const double b = 0.564 * std::pow((er - 0.9) / (er + 3), 0.053);
  return (er + 1) / 2 + (er - 1) / 2 * std::pow(1 + 10 / u, -a * b);
}

// Hammerstad's open-end extension, mm.
double OpenEndExtensionMm(const Microstrip& m, double epsEff) {
  const double u = m.WidthMm / m.HeightMm;
  return m.HeightMm * 0.412 * (epsEff + 0.3) * (u + 0.264) / ((epsEff - 0.258) * (u + 0.8));
}

// The strip along x, `across` cells wide and cells of about 2 mm along, fed by
// 1 V across its whole width at the centre; the grid equals the strip width.
Project Resonator(const TempDir& dir, const Microstrip& m, int along, int across) {
  Project p;
  p.ProjectFile = (dir / "strip.PRO").string();
  p.PcbLx = 100;
  p.PcbLy = 50;
  p.GridSize = m.WidthMm;
  p.Segments = {{50, 25, m.LengthMm, m.WidthMm, along, across}};
  const double dx = m.LengthMm / along, dy = m.WidthMm / across;
  for (int row = 0; row < across; ++row)
    p.VoltageSources.push_back({50, 25 - m.WidthMm / 2 + dy * (row + 0.5), dx, dy, 1.0, 0.0, true,
                                row * (along - 1) + along / 2});
  p.Env.GroundPlane = true;
  p.Env.GPHeight = FormatGeneral(m.HeightMm);
  p.Env.DielConst = FormatGeneral(m.EpsR);
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

std::optional<double> ResonanceMHz(const Microstrip& m, int along, int across,
                                   const ComputationSettings& settings) {
  TempDir dir;
  RecordingUi ui;
  Project p = Resonator(dir, m, along, across);
  const ComputationReport report = Compute(p, settings, ui, dir);
  const auto resonance = FirstResonance(PortImpedances(report));
  if (!resonance) return std::nullopt;
  return resonance->FrequencyMHz;
}

// Half a guided wavelength between the effective ends: f = c / (2 L_eff sqrt(eps_eff)).
double EpsEffOfResonance(double frequencyMHz, double lengthEffMm) {
  return std::pow(SpeedOfLight / (2 * frequencyMHz * 1e6 * lengthEffMm * 1e-3), 2);
}

// 50 mm of 3 mm wide line on 1.6 mm FR-4 (w/h = 1.9): eps_eff 3.32, resonance near
// 1.6 GHz. The step of the spectral integration is made fine enough for the
// strip's length (MaxKr / N below 2 pi / (10 L)).
TEST(DielectricPhysics, HalfWaveMicrostripResonatorHasTheLinesEffectivePermittivity) {
  const Microstrip m;
  const double closedForm = HammerstadJensenEpsEff(m);
  const double lengthEff = m.LengthMm + 2 * OpenEndExtensionMm(m, closedForm);
  ComputationSettings s = testing::LinearSweep(1500, 1700, 25);
  s.Integration.Points = 1000;

  // One cell across (Jx only), and three across (Jx and Jy, every block corrected).
  for (int across : {1, 3}) {
    const auto f = ResonanceMHz(m, 25, across, s);
    ASSERT_TRUE(f) << "no resonance between 1500 and 1700 MHz";
    const double epsEff = EpsEffOfResonance(*f, lengthEff);
    std::printf("microstrip, %d cell(s) across: resonance %.1f MHz, eps_eff %.3f; "
                "Hammerstad-Jensen %.3f\n", across, *f, epsEff, closedForm);
    EXPECT_NEAR(epsEff / closedForm, 1.0, 0.08);
  }

  // The closed-form permittivity of the grid-wide trace in a homogeneous medium
  // over the plane resonates near the rigorous slab.
  const double rigorous = *ResonanceMHz(m, 25, 1, s);
  s.RigSol = false;
  const auto simple = ResonanceMHz(m, 25, 1, s);
  ASSERT_TRUE(simple);
  std::printf("microstrip: rigorous %.1f MHz, simple effective permittivity %.1f MHz\n", rigorous,
              *simple);
  EXPECT_NEAR(*simple / rigorous, 1.0, 0.10);
}

// Reciprocity of the transmitting and the receiving strip: with 1 V at the port the
// strip radiates F (field times distance) towards (theta, phi); a unit plane wave
// from there, polarised along F's component e, drives the short-circuited port with
// |I| = 4 pi |F . e| / (omega mu0). This ties the library's element pattern (with
// the element's area and the solved densities) to its reciprocal segment field
// (with the element's length) through the moment-method solution; over a bare
// ground plane it checks the image model's reflection factor the same way.
TEST(DielectricPhysics, ReceivingStripObeysReciprocityWithItsPattern) {
  const Microstrip m;
  const double f = 1600, theta = 30;
  for (const char* eps : {"1", "4.4"}) {
    TempDir dir;
    RecordingUi ui;
    Project p = Resonator(dir, m, 25, 1);
    p.Env.DielConst = eps;
    ComputationSettings s = testing::LinearSweep(f, f, 1);
    s.SweepFreq = false;
    s.Frequency = FormatGeneral(f);
    s.FarField = true;
    s.ThetaStart = s.ThetaStop = FormatGeneral(theta);
    s.PhiStart = "0";
    s.PhiStop = "90";
    s.PhiStep = "90";
    ASSERT_EQ(Compute(p, s, ui, dir).Points.size(), 1u);
    const auto pattern = FirstBlockAtOrAbove(dir / "strip.RAD", 0.0, 4);
    ASSERT_TRUE(pattern && pattern->Rows() == 2);
    const double eThetaAtPhi0 = pattern->Row(0)[2], ePhiAtPhi90 = pattern->Row(1)[3];

    const auto received = [&](const char* phi, const char* pol) {
      ComputationSettings r = s;
      r.FarField = false;
      r.IncField = true;
      r.IncTheta = FormatGeneral(theta);
      r.IncPhi = phi;
      r.IncPol = pol;
      const ComputationReport report = Compute(p, r, ui, dir);
      const Complex current = *report.Points.at(0).Sources.at(0).Current;
      return CAbs(current);
    };
    const double omegaMu0 = 2 * M_PI * f * 1e6 * Mu0;
    const double inPlane = received("0", "0"), across = received("90", "90");
    std::printf("eps_r %s: received %.5g A and %.5g A; from the pattern %.5g A and %.5g A\n", eps,
                inPlane, across, 4 * M_PI * eThetaAtPhi0 / omegaMu0, 4 * M_PI * ePhiAtPhi90 / omegaMu0);
    EXPECT_NEAR(inPlane / (4 * M_PI * eThetaAtPhi0 / omegaMu0), 1.0, 0.01) << eps;
    EXPECT_NEAR(across / (4 * M_PI * ePhiAtPhi90 / omegaMu0), 1.0, 0.01) << eps;
  }
}

}  // namespace
}  // namespace lumetra
