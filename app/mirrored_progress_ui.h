// The main window's user interface with the run's progress texts mirrored into a
// label of the window whose Compute started the run, where the person who
// pressed it is looking.
#pragma once

#include <QLabel>
#include <QString>

#include "app/qt_user_interface.h"

namespace lumetra::gui {

class MirroredProgressUi : public UserInterface {
public:
  MirroredProgressUi(QtUserInterface& inner, QLabel* label) : inner_(inner), label_(label) {}
  void ShowMessage(std::string_view text) override { inner_.ShowMessage(text); }
  void ShowWarning(std::string_view text) override { inner_.ShowWarning(text); }
  bool AskYesNo(std::string_view question) override { return inner_.AskYesNo(question); }
  Answer AskYesNoCancel(std::string_view question) override { return inner_.AskYesNoCancel(question); }
  void SetStatusText(StatusPanel panel, std::string_view text) override {
    inner_.SetStatusText(panel, text);
    if (panel == StatusPanel::Progress && !text.empty())
      label_->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
  }
  void SetBusy(bool busy) override { inner_.SetBusy(busy); }
  void SetProgress(int position, int maximum) override { inner_.SetProgress(position, maximum); }
  bool PumpEventsAndCheckAbort() override { return inner_.PumpEventsAndCheckAbort(); }
  void Beep() override { inner_.Beep(); }

private:
  QtUserInterface& inner_;
  QLabel* label_;
};

}  // namespace lumetra::gui
