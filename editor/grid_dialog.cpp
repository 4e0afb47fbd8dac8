#include "editor/grid_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <algorithm>

#include "editor/help_link.h"

namespace lumetra::gui {

GridDialog::GridDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog("Set grid and element sizes", help_topic::Grid, ui, parent) {
  grid_ = AddField("Grid", "Grid size in mm");
  chx_ = AddField("ChxNo", "Charges per grid in X-dir.");
  chy_ = AddField("ChyNo", "Charges per grid in Y-dir.");
  showGrid_ = new QCheckBox("Show grid points", this);
  showGrid_->setObjectName("ShowGrid");
  Form()->addRow(showGrid_);
  // The board's longer side, which bounds the grid; filled by Edit, never shown.
  maxNo_ = new QLineEdit(this);
  maxNo_->setObjectName("MaxNo");
  maxNo_->hide();
}

std::optional<GridSettings> GridDialog::Ask(const Project& project) {
  grid_->setText(NumberText(project.GridSize));
  chx_->setText(QString::number(project.ChargesPerGridX));
  chy_->setText(QString::number(project.ChargesPerGridY));
  showGrid_->setChecked(project.ShowGridPoints);
  maxNo_->setText(QString::number(std::max(project.PcbLx, project.PcbLy)));
  grid_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return GridSettings{gridValue_, chxValue_, chyValue_, showGrid_->isChecked()};
}

bool GridDialog::Validate(FieldChecks& checks) {
  const double maxNo = maxNo_->text().toDouble();
  checks.Real(grid_, "Grid", 0.005 * maxNo, 0.1 * maxNo, &gridValue_);
  checks.Integer(chx_, "Number of charges per grid", 0, 100, &chxValue_);
  checks.Integer(chy_, "Number of charges per grid", 0, 100, &chyValue_);
  return true;
}

}  // namespace lumetra::gui
