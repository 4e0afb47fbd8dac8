// The substrate settings: the dialogs' checks with their exact messages, the
// closed-form permittivity and the fit itself against the fill it imitates.
#include "solver/solver_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "solver/effective_permittivity.h"
#include "solver/interaction_fill.h"
#include "solver/physical_constants.h"
#include "solver/spectral_limit.h"
#include "tests/solver/fill_reference.h"
#include "tests/support/expect_values.h"
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
  const std::string points = "Error: Out of range! Number of integration points must be ";
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{points + "greater than 10", points + "smaller than 10000",
                                      "Error: Not a valid integer number!"}));

  const auto low = Check("11", "0.02", ui);
  ASSERT_TRUE(low);
  EXPECT_EQ(std::tie(low->Points, low->RelativeErrorPercent), std::make_tuple(11, 0.02));
  EXPECT_TRUE(Check("9999", "99.9", ui));

  EXPECT_FALSE(Check("100", "0.01", ui, &failed));
  EXPECT_EQ(failed, IntegrationField::RelativeError);
  EXPECT_FALSE(Check("100", "100", ui));
  // The first failing field stops the check: it alone receives the focus.
  EXPECT_FALSE(Check("5", "500", ui, &failed));
  EXPECT_EQ(failed, IntegrationField::Points);
  EXPECT_EQ(
      std::vector(ui.messages.begin() + 3, ui.messages.end()),
      (std::vector<std::string>{"Error: Out of range! Relative error must be greater than 0.01",
                                "Error: Out of range! Relative error must be smaller than 100",
                                points + "greater than 10"}));

  // "Reset to default".
  EXPECT_EQ(DefaultIntegrationTexts().Points + " " + DefaultIntegrationTexts().RelativeError,
            "100 1");
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
    testing::ExpectNear({model.Re, model.Im}, {fill.Re, fill.Im}, 1e-9 * CAbs(fill));
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

}  // namespace
}  // namespace lumetra
