// "Define impedance element" / "Edit impedance element <n>": a resistance in series
// with an inductance (R + jwL) or a capacitance (R - j/wC).
#pragma once

#include "editor/checked_dialog.h"

class QLabel;
class QRadioButton;

namespace lumetra::gui {

class ImpedanceDialog : public CheckedDialog {
  Q_OBJECT
public:
  ImpedanceDialog(UserInterface& ui, QWidget* parent);

  // A new load: both fields "0", R + jwL chosen. lc receives the stored value
  // (negative for a capacitance).
  bool Define(double& r, double& lc);
  // An existing load (1-based number) with its values.
  bool Edit(int number, double& r, double& lc);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  bool Run(double& r, double& lc);
  void ShowType();

  QLineEdit *re_, *im_;
  QRadioButton *rl_, *rc_;
  QLabel *imLabel_, *imUnit_;
  double rValue_ = 0, imValue_ = 0;
};

}  // namespace lumetra::gui
