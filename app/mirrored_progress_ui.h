// The main window's user interface with the run's progress texts mirrored into a
// label of the window whose Compute started the run, where the person who
// pressed it is looking.
#pragma once

#include <QLabel>
#include <QString>

#include "model/forwarding_ui.h"

namespace lumetra::gui {

class MirroredProgressUi : public ForwardingUi {
public:
  MirroredProgressUi(UserInterface& inner, QLabel* label) : ForwardingUi(inner), label_(label) {}
  void SetStatusText(StatusPanel panel, std::string_view text) override {
    ForwardingUi::SetStatusText(panel, text);
    if (panel == StatusPanel::Progress && !text.empty())
      label_->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
  }

private:
  QLabel* label_;
};

}  // namespace lumetra::gui
