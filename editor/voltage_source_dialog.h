// "Define voltage source" / "Edit voltage source <n>": the complex source voltage.
#pragma once

#include "editor/checked_dialog.h"

namespace lumetra::gui {

class VoltageSourceDialog : public CheckedDialog {
  Q_OBJECT
public:
  VoltageSourceDialog(UserInterface& ui, QWidget* parent);

  // A new source: both fields start at "0".
  bool Define(double& re, double& im);
  // An existing source (1-based number) with its values.
  bool Edit(int number, double& re, double& im);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  bool Run(double& re, double& im);

  QLineEdit *re_, *im_;
  double reValue_ = 0, imValue_ = 0;
};

}  // namespace lumetra::gui
