#include "editor/segment_dialog.h"

#include <QLineEdit>

#include "editor/help_link.h"

namespace lumetra::gui {

SegmentDialog::SegmentDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog("Edit segment", help_topic::Segment, ui, parent) {
  chX_ = AddField("ChX", "No. of charges in X-dir.", {}, 6);
  chY_ = AddField("ChY", "No. of charges in Y-dir.", {}, 6);
  xc_ = AddField("Xc", "Center X-coord.", "mm");
  yc_ = AddField("Yc", "Center Y-coord.", "mm");
  dx_ = AddField("dx", "Length in X-dir.", "mm");
  dy_ = AddField("dy", "Length in Y-dir.", "mm");
}

std::optional<Segment> SegmentDialog::Edit(int number, const Segment& segment,
                                           std::int32_t pcbLx, std::int32_t pcbLy,
                                           Confirm confirm) {
  confirm_ = std::move(confirm);
  setWindowTitle("Edit segment " + QString::number(number));
  pcbLx_ = pcbLx;
  pcbLy_ = pcbLy;
  chX_->setText(QString::number(segment.ChX));
  chY_->setText(QString::number(segment.ChY));
  xc_->setText(NumberText(segment.Xc));
  yc_->setText(NumberText(segment.Yc));
  dx_->setText(NumberText(segment.Lx));
  dy_->setText(NumberText(segment.Ly));
  chX_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return result_;
}

bool SegmentDialog::Validate(FieldChecks& checks) {
  // The segment may leave the board by editing; only each value's range is checked.
  Segment s;
  checks.Integer(chX_, "Number of charges", 0, 10000, &s.ChX);
  checks.Integer(chY_, "Number of charges", 0, 10000, &s.ChY);
  checks.Real(xc_, "Center X-coordinate", 0, pcbLx_, &s.Xc);
  checks.Real(yc_, "Center Y-coordinate", 0, pcbLy_, &s.Yc);
  checks.Real(dx_, "Length in X-direction", 0, pcbLx_, &s.Lx);
  checks.Real(dy_, "Length in Y-direction", 0, pcbLy_, &s.Ly);
  if (!checks.Passed()) return false;
  result_ = s;
  return !confirm_ || confirm_(s);
}

}  // namespace lumetra::gui
