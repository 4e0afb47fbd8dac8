// What the Immunity window holds, as typed, and the run options made from it.
//
// The window keeps texts; turning them into numbers happens here, without
// widgets, so that the messages a user sees can be checked exactly. The field
// level is refused with the core's own message, as lumetra-cli refuses it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "studies/immunity/immunity_run.h"

namespace lumetra::gui {

inline constexpr const char* NoLoadChosenMessage = "Error: No load is chosen";

struct ImmunityForm {
  bool EveryPort = true;          // every load and, as shorted ports, every source
  std::vector<int> ChosenLoads;   // 1-based load numbers ticked, used without EveryPort
  std::string Field = "10";       // V/m
  std::string Threshold;          // V; blank: none
};

struct ImmunityRequest {
  immunity::ImmunityOptions Options;
  std::optional<double> ThresholdV;
};

// Throws std::invalid_argument with immunity::FieldLevelMessage,
// immunity::ThresholdMessage or NoLoadChosenMessage.
ImmunityRequest BuildImmunityRequest(const ImmunityForm& form);

}  // namespace lumetra::gui
