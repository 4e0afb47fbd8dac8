// A computation on a grounded slab end to end: the spectral warnings at the first
// point only and the permittivity each model gives every point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "fields/result_readers.h"
#include "model/number_format.h"
#include "model/project_files.h"
#include "solver/effective_permittivity.h"
#include "solver/spectral_limit.h"
#include "studies/narrow_strip_warning.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::RecordingUi;
using testing::SingleFrequency;
using testing::StripDipole;
using testing::TempDir;

class Slab : public ::testing::Test {
protected:
  Slab() {
    project.Env.GroundPlane = true;
    project.Env.GPHeight = "1.6";
    project.Env.DielConst = "4.4";
  }
  ComputationSettings Sweep(std::initializer_list<const char*> frequencies) {
    ComputationSettings s = SingleFrequency(0);
    s.SweepFreq = true;
    s.FreqListCB = true;
    for (const char* f : frequencies) s.FrequencyList.push_back(f);
    return s;
  }
  // The run's messages without the warning about the one-cell-wide strip, which
  // every run of this layout over the plane begins with (checked on its own).
  std::vector<std::string> SpectralMessages(const RecordingUi& from) const {
    std::vector<std::string> rest;
    for (const std::string& m : from.messages)
      if (m != NarrowStripWarning) rest.push_back(m);
    return rest;
  }
  int Count(const char* message) const {
    return static_cast<int>(std::count(ui.messages.begin(), ui.messages.end(), message));
  }

  TempDir dir;
  RecordingUi ui;
  Project project = StripDipole(dir, 100, 2, 50);  // 49 equal Jx elements, 98 mm span
};

TEST_F(Slab, SpectralWarningsComeOnceAtTheFirstPoint) {
  // At 10 MHz the 1 mm half-length never lets the integrand decay within 5000 k0,
  // and 100 points cannot resolve 98 mm.
  const ComputationReport report = Compute(project, Sweep({"10", "20", "30"}), ui, dir);
  ASSERT_EQ(report.Points.size(), 3u);
  EXPECT_EQ(Count(MightNotConvergeWarning), 1);
  const std::vector<std::string> messages = SpectralMessages(ui);
  EXPECT_EQ(Count(NarrowStripWarning), 1);
  ASSERT_EQ(messages.size(), 2u);
  // The warning names the number of points that resolve the 96 mm span of the Jx
  // centres at the first point's limit.
  const std::int32_t enough = SufficientSpectralPoints(0.096, report.Points[0].MaxKr);
  EXPECT_GT(enough, 100);
  EXPECT_EQ(messages[1], std::string(TooFewSpectralPointsWarning) + "\r\r" +
                                std::to_string(enough) +
                                " points would suffice; High accuracy chooses them by itself.");
  for (const FrequencyPointResult& p : report.Points) {
    EXPECT_GT(p.MaxKr, 1000 * 2 * M_PI * p.FrequencyMHz / 300);
    EXPECT_DOUBLE_EQ(p.EpsEff, Eps0 * 2.7);  // the rigorous model keeps the mean
  }
}

// High accuracy takes the number of points the warning names, says so in the
// status bar at every point, and so has nothing to warn about; a user's number
// above it is kept.
TEST_F(Slab, HighAccuracyChoosesTheSufficientNumberOfPoints) {
  ComputationSettings s = Sweep({"1000", "2000"});
  s.Accuracy = SolverAccuracy::High;
  const ComputationReport report = Compute(project, s, ui, dir);
  ASSERT_EQ(report.Points.size(), 2u);
  EXPECT_TRUE(SpectralMessages(ui).empty()) << SpectralMessages(ui).front();
  for (const FrequencyPointResult& p : report.Points) {
    const std::int32_t enough = SufficientSpectralPoints(0.096, p.MaxKr);
    EXPECT_GT(enough, 100);
    EXPECT_EQ(p.SpectralPoints, enough);
    EXPECT_NE(std::find(ui.statusTexts.begin(), ui.statusTexts.end(),
                        "0:Spectral integration with " + std::to_string(enough) + " points"),
              ui.statusTexts.end());
  }
  RecordingUi quiet;
  s.Integration.Points = 9000;
  const ComputationReport more = Compute(project, s, quiet, dir);
  ASSERT_EQ(more.Points.size(), 2u);
  EXPECT_EQ(more.Points[0].SpectralPoints, 9000);
  // Standard keeps the user's number and warns.
  s.Accuracy = SolverAccuracy::Standard;
  s.Integration.Points = 100;
  RecordingUi standard;
  EXPECT_EQ(Compute(project, s, standard, dir).Points[0].SpectralPoints, 100);
  EXPECT_EQ(SpectralMessages(standard).size(), 1u);
}

TEST_F(Slab, NoWarningWhenTheSamplingSuffices) {
  ComputationSettings s = SingleFrequency(1000);
  s.Integration.Points = 5000;
  const ComputationReport report = Compute(project, s, ui, dir);
  ASSERT_EQ(report.Points.size(), 1u);
  EXPECT_TRUE(SpectralMessages(ui).empty()) << SpectralMessages(ui).front();
  EXPECT_LT(report.Points[0].MaxKr, 5000 * 2 * M_PI * 1000 / 300);
}

TEST_F(Slab, EffectivePermittivityModelsNeedNoSpectralSampling) {
  ComputationSettings s = Sweep({"10", "20"});
  s.RigSol = false;
  const ComputationReport report = Compute(project, s, ui, dir);
  ASSERT_EQ(report.Points.size(), 2u);
  EXPECT_TRUE(SpectralMessages(ui).empty()) << SpectralMessages(ui).front();
  const double simple = SimpleEffectivePermittivity(4.4, 1.6, project.GridSize);
  for (const FrequencyPointResult& p : report.Points) {
    EXPECT_EQ(p.MaxKr, 0.0);
    EXPECT_DOUBLE_EQ(p.EpsEff, simple);
  }
}

TEST_F(Slab, TheFittedPermittivityIsRenewedEveryNthPoint) {
  ComputationSettings s = Sweep({"1000", "1500", "2000", "2500", "3000"});
  s.RigSol = false;
  s.EffectivePermittivity = {EffectivePermittivityModel::ApproximateEvery, 2};
  const ComputationReport report = Compute(project, s, ui, dir);
  ASSERT_EQ(report.Points.size(), 5u);
  const auto fit = [&](double f) {
    return ApproximateEpsEff(f, 4.4, 1.6e-3, project.GridSize * 1e-3, s.Integration);
  };
  std::vector<double> used;
  for (const FrequencyPointResult& p : report.Points) used.push_back(p.EpsEff);
  EXPECT_EQ(used, (std::vector{fit(1000), fit(1000), fit(2000), fit(2000), fit(3000)}));
  EXPECT_NE(fit(1000), fit(3000));
}

TEST_F(Slab, WithoutAGroundPlaneThePermittivityIsIgnored) {
  project.Env.GroundPlane = false;
  const ComputationReport report = Compute(project, SingleFrequency(1000), ui, dir);
  ASSERT_EQ(report.Points.size(), 1u);
  EXPECT_EQ(std::tie(report.Points[0].EpsEff, report.Points[0].MaxKr), std::make_tuple(Eps0, 0.0));
}

}  // namespace
}  // namespace lumetra
