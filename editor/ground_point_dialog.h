// "Ground point placement": on which edge of the charge cell the connection to the
// ground plane sits.
#pragma once

#include <optional>

#include "editor/checked_dialog.h"

class QRadioButton;

namespace lumetra::gui {

class GroundPointDialog : public CheckedDialog {
  Q_OBJECT
public:
  GroundPointDialog(UserInterface& ui, QWidget* parent);

  // The chosen edge (EdgeLeft .. EdgeTop) on OK; "Left edge" is chosen on opening.
  std::optional<std::int32_t> ChooseEdge();

protected:
  bool Validate(FieldChecks&) override { return true; }

private:
  QRadioButton* edges_[4];
};

}  // namespace lumetra::gui
