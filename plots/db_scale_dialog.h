// "Scale factor for polar plot": the dB per division of the logarithmic pattern
// scale, one of four fixed steps or a "Special" value within (0.01, 25).
#pragma once

#include <QDialog>

#include "model/user_interface.h"

class QLineEdit;
class QRadioButton;

namespace lumetra::gui {

class DbScaleDialog : public QDialog {
  Q_OBJECT
public:
  DbScaleDialog(UserInterface& ui, QWidget* parent);
  // Shows the dialog preset from dbPerDivision; on OK stores the choice. True on OK.
  bool Edit(double& dbPerDivision);
  void accept() override;

private:
  UserInterface& ui_;
  QRadioButton* buttons_[5];
  QLineEdit* special_;
  double accepted_ = 10.0;
};

}  // namespace lumetra::gui
