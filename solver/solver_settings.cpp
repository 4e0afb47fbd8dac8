#include "solver/solver_settings.h"

#include <algorithm>
#include <cctype>

#include "model/input_checks.h"
#include "model/number_format.h"

namespace lumetra {

IntegrationTexts IntegrationTextsOf(const IntegrationSettings& settings) {
  return {FormatInteger(settings.Points), FormatGeneral(settings.RelativeErrorPercent)};
}

IntegrationTexts DefaultIntegrationTexts() { return IntegrationTextsOf(IntegrationSettings{}); }

std::optional<IntegrationSettings> CheckIntegrationTexts(const IntegrationTexts& texts,
                                                         UserInterface& ui,
                                                         IntegrationField* failed) {
  IntegrationSettings settings;
  if (!CheckInteger(texts.Points, "Number of integration points", 10, 10000, ui, &settings.Points)) {
    if (failed) *failed = IntegrationField::Points;
    return std::nullopt;
  }
  if (!CheckReal(texts.RelativeError, "Relative error", 0.01, 100, ui,
                 &settings.RelativeErrorPercent)) {
    if (failed) *failed = IntegrationField::RelativeError;
    return std::nullopt;
  }
  return settings;
}

const char* AccuracyWord(SolverAccuracy accuracy) {
  return accuracy == SolverAccuracy::High ? "high" : "standard";
}

std::optional<SolverAccuracy> AccuracyFromWord(std::string_view word) {
  std::string lower(word);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "standard") return SolverAccuracy::Standard;
  if (lower == "high") return SolverAccuracy::High;
  return std::nullopt;
}

std::optional<EffectivePermittivitySettings> CheckEffectivePermittivity(
    EffectivePermittivityModel model, std::string_view everyText, UserInterface& ui) {
  EffectivePermittivitySettings settings;
  settings.Model = model;
  if (model == EffectivePermittivityModel::ApproximateEvery &&
      !CheckInteger(everyText, "Number", 0, 100, ui, &settings.Every))
    return std::nullopt;
  return settings;
}

}  // namespace lumetra
