// The substrate settings: the dialogs' checks with their exact messages, the
// schedule of the fitted permittivity, the closed-form permittivity, the fit itself
// against the fill it imitates, and the conditions of the spectral warnings.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/effective_permittivity.h"
#include "solver/interaction_fill.h"
#include "solver/physical_constants.h"
#include "solver/solver_settings.h"
#include "solver/spectral_limit.h"
#include "tests/solver/fill_reference.h"
#include "tests/support/recording_ui.h"
#include "velkor/velkor.h"

namespace lumetra {
namespace {

using testing::RecordingUi;

constexpr double mm = 0.001;

std::optional<IntegrationSettings> Check(const char* points, const char* error, RecordingUi& ui,
                                         IntegrationField* failed = nullptr) {
  return CheckIntegrationTexts({points, error}, ui, failed);
}

TEST(IntegrationSettings, PointsAndRelativeErrorLieStrictlyInsideTheirRanges) {
  RecordingUi ui;
  IntegrationField failed{};
  EXPECT_FALSE(Check("10", "1", ui, &failed));
  EXPECT_EQ(failed, IntegrationField::Points);
  EXPECT_FALSE(Check("10000", "1", ui));
  EXPECT_FALSE(Check("12.5", "1", ui));
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0], "Error: Out of range! Number of integration points must be greater than 10");
  EXPECT_EQ(ui.messages[1], "Error: Out of range! Number of integration points must be smaller than 10000");
  EXPECT_EQ(ui.messages[2], "Error: Not a valid integer number!");

  const auto low = Check("11", "0.02", ui);
  ASSERT_TRUE(low);
  EXPECT_EQ(low->Points, 11);
  EXPECT_EQ(low->RelativeErrorPercent, 0.02);
  EXPECT_TRUE(Check("9999", "99.9", ui));

  EXPECT_FALSE(Check("100", "0.01", ui, &failed));
  EXPECT_EQ(failed, IntegrationField::RelativeError);
  EXPECT_FALSE(Check("100", "100", ui));
  EXPECT_EQ(ui.messages[3], "Error: Out of range! Relative error must be greater than 0.01");
  EXPECT_EQ(ui.messages[4], "Error: Out of range! Relative error must be smaller than 100");
  // The first failing field stops the check: it alone receives the focus.
  EXPECT_FALSE(Check("5", "500", ui, &failed));
  EXPECT_EQ(failed, IntegrationField::Points);
  EXPECT_EQ(ui.messages.size(), 6u);

  // "Reset to default".
  EXPECT_EQ(DefaultIntegrationTexts().Points, "100");
  EXPECT_EQ(DefaultIntegrationTexts().RelativeError, "1");
}

TEST(EffectivePermittivitySettings, TheIntervalIsCheckedOnlyForTheApproximation) {
  RecordingUi ui;
  using Model = EffectivePermittivityModel;
  EXPECT_FALSE(CheckEffectivePermittivity(Model::ApproximateEvery, "0", ui));
  EXPECT_FALSE(CheckEffectivePermittivity(Model::ApproximateEvery, "100", ui));
  EXPECT_FALSE(CheckEffectivePermittivity(Model::ApproximateEvery, "x", ui));
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0], "Error: Out of range! Number must be greater than 0");
  EXPECT_EQ(ui.messages[1], "Error: Out of range! Number must be smaller than 100");
  const auto every = CheckEffectivePermittivity(Model::ApproximateEvery, "99", ui);
  ASSERT_TRUE(every);
  EXPECT_EQ(every->Every, 99);
  const auto simple = CheckEffectivePermittivity(Model::SimpleFormula, "not looked at", ui);
  ASSERT_TRUE(simple);
  EXPECT_EQ(simple->Model, Model::SimpleFormula);
  EXPECT_EQ(ui.messages.size(), 3u);
}

std::vector<int> ApproximatedPoints(int every, int points) {
  std::vector<int> fitted;
  for (int p = 0; p < points; ++p)
    if (ApproximationAnchor(static_cast<std::size_t>(p), every) == static_cast<std::size_t>(p))
      fitted.push_back(p + 1);
  return fitted;
}

TEST(EffectivePermittivity, TheFitIsRenewedAtTheFirstAndThenEveryNthPoint) {
  EXPECT_EQ(ApproximatedPoints(3, 9), (std::vector<int>{1, 4, 7}));
  EXPECT_EQ(ApproximatedPoints(1, 4), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(ApproximatedPoints(2, 6), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(ApproximatedPoints(99, 5), (std::vector<int>{1}));
  EXPECT_EQ(ApproximatedPoints(0, 3), (std::vector<int>{1}));
  // Between renewals a point uses the fit of the last renewal before it.
  EXPECT_EQ(ApproximationAnchor(5, 3), 3u);
  EXPECT_EQ(ApproximationAnchor(8, 0), 0u);
}

TEST(EffectivePermittivity, SimpleFormulaRunsFromTheMeanToTheSlabsPermittivity) {
  // 3 mm trace on 1.6 mm: (4.4 + 1)/2 + (4.4 - 1)/2 / sqrt(1 + 16/3).
  EXPECT_NEAR(SimpleEffectivePermittivity(4.4, 1.6, 3) / Eps0, 2.7 + 1.7 / std::sqrt(19.0 / 3), 1e-12);
  // A trace very wide against the height keeps its field in the slab; a very
  // narrow one sees half air.
  EXPECT_NEAR(SimpleEffectivePermittivity(4.4, 1e-6, 1000) / Eps0, 4.4, 1e-6);
  EXPECT_NEAR(SimpleEffectivePermittivity(4.4, 1000, 1e-6) / Eps0, 2.7, 1e-4);
  EXPECT_DOUBLE_EQ(SimpleEffectivePermittivity(1.0, 1.6, 3), Eps0);
}

// The fit's model is the fill's own diagonal entry of such a cell.
TEST(EffectivePermittivity, TheFittedCellIsTheFillsSelfImpedance) {
  const double w = 1.5 * mm, h = 0.8 * mm;
  const ElementLists pair = testing::BuildLayout({{0, 0, 2 * w, w, 2, 1}});  // one Jx, centred
  ASSERT_EQ(pair.NX(), 1);
  ASSERT_EQ(pair.Jx[0].X, 0.0);
  for (double f : {300.0, 3000.0}) {
    const double eps = Eps0 * 2.7;
    const FrequencyConstants c = MakeFrequencyConstants(f, eps, 4.4, true, h);
    const FillRequest request{pair, c, true, GroundPointPlacement::None};
    testing::TestBlocks blocks;
    testing::CreateBlocks(blocks, request);
    RecordingUi ui;
    ComputationControl control(ui);
    SystemMatrices view = blocks.View();
    ASSERT_TRUE(FillInteractionMatrices(request, view, control));
    const Complex fill = blocks.Zxx(1, 1);
    const Complex model = SquareCellSelfImpedance(c.Omega, c.K, w, h).At(eps);
    EXPECT_NEAR(model.Re, fill.Re, 1e-9 * CAbs(fill)) << f;
    EXPECT_NEAR(model.Im, fill.Im, 1e-9 * CAbs(fill)) << f;
  }
}

TEST(EffectivePermittivity, TheFitStopsAtTheFirstPermittivityThatMatchesTheRigorousMagnitude) {
  const double f = 1500, er = 4.4, h = 1.6 * mm, w = 3 * mm;
  const IntegrationSettings settings;
  const double fitted = ApproximateEpsEff(f, er, h, w, settings);
  const double start = Eps0 * 2.7;
  EXPECT_GT(fitted, start);
  EXPECT_LE(fitted, start + Eps0 * (1 + 1e-9));

  // The match criterion, from the same rigorous correction: met at the result and
  // not one step of eps0/1000 below it.
  const FrequencyConstants c = MakeFrequencyConstants(f, start, er, true, h);
  const CellSelfImpedance model = SquareCellSelfImpedance(c.Omega, c.K, w, h);
  const SpectralIntegration s = SpectralIntegrationFor(f, er, h, w / 2, settings);
  Complex correction;
  _impxx(f, er, h, 0, 0, w / 2, w / 2, w / 2, s.MaxKr, s.Step, &correction.Re, &correction.Im);
  const Complex reference = {correction.Re + model.At(start).Re, correction.Im + model.At(start).Im};
  const auto mismatch = [&](double eps) {
    return std::fabs(1 - std::pow(CAbs(reference), 2) / std::pow(CAbs(model.At(eps)), 2));
  };
  EXPECT_LE(mismatch(fitted), 0.001);
  EXPECT_GT(mismatch(fitted - 8.854e-15), 0.001);
  // The slab raises the permittivity the cell sees above the mean of slab and air.
  EXPECT_GT(fitted / Eps0, 2.75);
}

// The spectral integral is trusted up to 5000 free-space wavenumbers, and its step
// must resolve the phase over the layout's largest distance to a tenth of a turn.
TEST(SpectralWarnings, LimitsFollowTheWavenumberAndTheLayoutSpan) {
  for (double f : {300.0, 1234.5}) {
    const double k0 = 2 * M_PI * f / 299.792458;  // rad/m
    EXPECT_FALSE(SpectralLimitTooHigh(f, 4990 * k0)) << f;
    EXPECT_TRUE(SpectralLimitTooHigh(f, 5010 * k0)) << f;
  }
  for (double span : {0.1, 0.037}) {
    const double finest = 2 * M_PI / (10 * span);
    EXPECT_FALSE(SpectralStepTooCoarse(span, {1e4, 0.999 * finest})) << span;
    EXPECT_TRUE(SpectralStepTooCoarse(span, {1e4, 1.001 * finest})) << span;
  }
  EXPECT_FALSE(SpectralStepTooCoarse(0.0, {1e6, 1e4}));  // no extent: nothing to resolve
  // The step is the limit over the number of points.
  IntegrationSettings settings;
  settings.Points = 250;
  const SpectralIntegration s = SpectralIntegrationFor(1000, 4.4, 1.6 * mm, 1 * mm, settings);
  EXPECT_GT(s.MaxKr, 4.4 * 2 * M_PI * 1000 / 300);
  EXPECT_DOUBLE_EQ(s.Step, s.MaxKr / 250);
  EXPECT_EQ(s.MaxKr, _maxkr(1000, 4.4, 1.6 * mm, 1 * mm, 0.01));  // 1 % relative error
}

}  // namespace
}  // namespace lumetra
