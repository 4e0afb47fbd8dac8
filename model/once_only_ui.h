// A user interface in front of another that shows each distinct message once and
// asks each distinct question once, answering a repeat as it was answered first.
//
// A study that runs the computation once per frequency (or once per source) would
// otherwise show "Ground connections will be ignored" and ask "N unknowns. Proceed
// with computation?" at every run.
#pragma once

#include <map>
#include <set>
#include <string>

#include "model/forwarding_ui.h"

namespace lumetra {

class OnceOnlyUi final : public ForwardingUi {
public:
  using ForwardingUi::ForwardingUi;

  void ShowMessage(std::string_view text) override {
    if (shown_.emplace(text).second) Inner().ShowMessage(text);
  }
  void ShowWarning(std::string_view text) override {
    if (shown_.emplace(text).second) Inner().ShowWarning(text);
  }
  bool AskYesNo(std::string_view question) override {
    const auto [it, fresh] = answers_.try_emplace(std::string(question), false);
    if (fresh) it->second = Inner().AskYesNo(question);
    return it->second;
  }
  // One run of many solves ends with one sound, the caller's.
  void Beep() override {}

private:
  std::set<std::string, std::less<>> shown_;
  std::map<std::string, bool, std::less<>> answers_;
};

}  // namespace lumetra
