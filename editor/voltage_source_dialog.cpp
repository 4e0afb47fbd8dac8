#include "editor/voltage_source_dialog.h"

#include <QLineEdit>

#include "editor/help_link.h"

namespace lumetra::gui {

namespace {
const char* const DefineTitle = "Define voltage source";
}

VoltageSourceDialog::VoltageSourceDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog(DefineTitle, help_topic::VoltageSource, ui, parent) {
  re_ = AddField("ReVolt", "Real-part", "Volt");
  im_ = AddField("ImVolt", "Imaginary-part", "Volt");
}

bool VoltageSourceDialog::Define(double& re, double& im) {
  setWindowTitle(DefineTitle);
  re_->setText("0");
  im_->setText("0");
  return Run(re, im);
}

bool VoltageSourceDialog::Edit(int number, double& re, double& im) {
  setWindowTitle("Edit voltage source " + QString::number(number));
  re_->setText(NumberText(re));
  im_->setText(NumberText(im));
  const bool accepted = Run(re, im);
  setWindowTitle(DefineTitle);
  return accepted;
}

bool VoltageSourceDialog::Run(double& re, double& im) {
  re_->setFocus();
  re_->selectAll();
  if (exec() != QDialog::Accepted) return false;
  re = reValue_;
  im = imValue_;
  return true;
}

bool VoltageSourceDialog::Validate(FieldChecks& checks) {
  checks.Real(re_, "Voltage", -100, 100, &reValue_);
  checks.Real(im_, "Voltage", -100, 100, &imValue_);
  return true;
}

}  // namespace lumetra::gui
