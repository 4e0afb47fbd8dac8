// A user interface that passes every call on to another one: the base of the
// small decorators that change one or two answers (messages shown only once, an
// abort flag of a dialog's own, progress mirrored into a window) and must pass the
// rest on unchanged, warnings and sounds included.
#pragma once

#include "model/user_interface.h"

namespace lumetra {

class ForwardingUi : public UserInterface {
public:
  explicit ForwardingUi(UserInterface& inner) : inner_(inner) {}

  void ShowMessage(std::string_view text) override { inner_.ShowMessage(text); }
  void ShowWarning(std::string_view text) override { inner_.ShowWarning(text); }
  bool AskYesNo(std::string_view question) override { return inner_.AskYesNo(question); }
  Answer AskYesNoCancel(std::string_view question) override {
    return inner_.AskYesNoCancel(question);
  }
  void SetStatusText(StatusPanel panel, std::string_view text) override {
    inner_.SetStatusText(panel, text);
  }
  void SetBusy(bool busy) override { inner_.SetBusy(busy); }
  void SetProgress(int position, int maximum) override { inner_.SetProgress(position, maximum); }
  bool PumpEventsAndCheckAbort() override { return inner_.PumpEventsAndCheckAbort(); }
  void Beep() override { inner_.Beep(); }

protected:
  UserInterface& Inner() const { return inner_; }

private:
  UserInterface& inner_;
};

}  // namespace lumetra
