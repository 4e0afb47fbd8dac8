// "Set move step and zoom scale factor": how far the move buttons and keys shift
// the layout, the 3D current view and the vector plot, and the zoom factor.
#pragma once

#include "editor/checked_dialog.h"
#include "editor/view_settings.h"

namespace lumetra::gui {

class MoveStepDialog : public CheckedDialog {
  Q_OBJECT
public:
  MoveStepDialog(UserInterface& ui, QWidget* parent);

  // Shows the current values; on OK stores both. True on OK.
  bool Edit(ViewSettings& settings);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QLineEdit *step_, *zoom_;
  std::int32_t stepValue_ = 0;
  double zoomValue_ = 0;
};

}  // namespace lumetra::gui
