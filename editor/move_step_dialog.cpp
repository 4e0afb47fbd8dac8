#include "editor/move_step_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "editor/help_link.h"

namespace lumetra::gui {

MoveStepDialog::MoveStepDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog("Set move step and zoom scale factor", help_topic::MoveStep, ui, parent) {
  step_ = AddField("tdxyoff", "Move step size in pixels");
  zoom_ = AddField("tzoomscale", "Scale factor for zoom");
  auto* reset = new QPushButton("Reset to default", this);
  reset->setObjectName("ResetBtn");
  Form()->addRow(reset);
  connect(reset, &QPushButton::clicked, this, [this] {
    const ViewSettings defaults;
    step_->setText(QString::number(defaults.MoveStep));
    zoom_->setText(NumberText(defaults.ZoomFactor));
  });
}

bool MoveStepDialog::Edit(ViewSettings& settings) {
  step_->setText(QString::number(settings.MoveStep));
  zoom_->setText(NumberText(settings.ZoomFactor));
  step_->setFocus();
  if (exec() != QDialog::Accepted) return false;
  settings.MoveStep = stepValue_;
  settings.ZoomFactor = zoomValue_;
  return true;
}

bool MoveStepDialog::Validate(FieldChecks& checks) {
  checks.Integer(step_, "Step size for plot move", 0, 100, &stepValue_);
  checks.Real(zoom_, "Scale factor for plot zoom", 1.0, 100.0, &zoomValue_);
  return true;
}

}  // namespace lumetra::gui
