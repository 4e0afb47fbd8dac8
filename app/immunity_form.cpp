#include "app/immunity_form.h"

#include <cmath>
#include <stdexcept>

#include "model/input_checks.h"
#include "studies/immunity/immunity_outputs.h"

namespace lumetra::gui {

namespace {

bool Positive(const std::optional<double>& value) { return value && *value > 0.0 && std::isfinite(*value); }

}  // namespace

ImmunityRequest BuildImmunityRequest(const ImmunityForm& form) {
  ImmunityRequest request;
  const std::optional<double> field = ParseRealText(form.Field);
  if (!Positive(field)) throw std::invalid_argument(immunity::FieldLevelMessage);
  request.Options.FieldVPerM = *field;
  if (form.Threshold.find_first_not_of(" \t") != std::string::npos) {
    const std::optional<double> threshold = ParseRealText(form.Threshold);
    if (!Positive(threshold)) throw std::invalid_argument(immunity::ThresholdMessage);
    request.ThresholdV = *threshold;
  }
  if (!form.EveryPort) {
    if (form.ChosenLoads.empty()) throw std::invalid_argument(NoLoadChosenMessage);
    request.Options.Loads = form.ChosenLoads;
  }
  return request;
}

}  // namespace lumetra::gui
