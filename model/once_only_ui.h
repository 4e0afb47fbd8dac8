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

#include "model/user_interface.h"

namespace lumetra {

class OnceOnlyUi final : public UserInterface {
public:
  explicit OnceOnlyUi(UserInterface& inner) : inner_(inner) {}

  void ShowMessage(std::string_view text) override {
    if (shown_.emplace(text).second) inner_.ShowMessage(text);
  }
  void ShowWarning(std::string_view text) override {
    if (shown_.emplace(text).second) inner_.ShowWarning(text);
  }
  bool AskYesNo(std::string_view question) override {
    const auto [it, fresh] = answers_.try_emplace(std::string(question), false);
    if (fresh) it->second = inner_.AskYesNo(question);
    return it->second;
  }
  Answer AskYesNoCancel(std::string_view question) override {
    return inner_.AskYesNoCancel(question);
  }
  void SetStatusText(StatusPanel panel, std::string_view text) override {
    inner_.SetStatusText(panel, text);
  }
  void SetBusy(bool busy) override { inner_.SetBusy(busy); }
  void SetProgress(int position, int maximum) override { inner_.SetProgress(position, maximum); }
  bool PumpEventsAndCheckAbort() override { return inner_.PumpEventsAndCheckAbort(); }
  void Beep() override {}

private:
  UserInterface& inner_;
  std::set<std::string, std::less<>> shown_;
  std::map<std::string, bool, std::less<>> answers_;
};

}  // namespace lumetra
