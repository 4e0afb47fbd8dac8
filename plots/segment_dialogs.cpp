#include "plots/segment_dialogs.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "plots/plot_help_topics.h"

namespace lumetra::gui {

SelectSegmentDialog::SelectSegmentDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog("Select segment", help_topic::SelectSegment, ui, parent) {
  setObjectName("SelSegToPlot");
  field_ = AddField("SegSelection", "Segment to plot", {}, 5);
}

std::optional<int> SelectSegmentDialog::Ask(int count) {
  count_ = count;
  field_->clear();
  field_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return value_;
}

bool SelectSegmentDialog::Validate(FieldChecks& checks) {
  checks.Integer(field_, "Segment number", 0, count_ + 1, &value_);
  return true;
}

SelectPlotTypeDialog::SelectPlotTypeDialog(UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setObjectName("SelectXY");
  setWindowTitle("Select plot type");
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox("Type", this);
  auto* groupLayout = new QVBoxLayout(group);
  x_ = new QRadioButton("Jx currents", group);
  x_->setObjectName("XSelected");
  y_ = new QRadioButton("Jy currents", group);
  y_->setObjectName("YSelected");
  groupLayout->addWidget(x_);
  groupLayout->addWidget(y_);
  layout->addWidget(group);
  label_ = new QLabel(this);
  label_->setObjectName("Label1");
  layout->addWidget(label_);
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  ConnectHelpButton(buttons->button(QDialogButtonBox::Help), help_topic::SelectPlotType);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &SelectPlotTypeDialog::accept);
  connect(list_, &QListWidget::itemDoubleClicked, this, &SelectPlotTypeDialog::accept);
  connect(x_, &QRadioButton::toggled, this, [this] { FillList(); });
}

void SelectPlotTypeDialog::FillList() {
  const bool jx = x_->isChecked();
  label_->setText(jx ? "Row" : "Col");
  list_->clear();
  for (int i = 1; i <= (jx ? ny_ : nx_); ++i) list_->addItem(QString::number(i));
}

std::optional<PlotTypeChoice> SelectPlotTypeDialog::Ask(int nx, int ny) {
  nx_ = nx;
  ny_ = ny;
  x_->setChecked(true);
  FillList();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return PlotTypeChoice{x_->isChecked(), list_->currentRow() + 1};
}

void SelectPlotTypeDialog::accept() {
  if (list_->selectedItems().isEmpty()) {
    ui_.ShowMessage(x_->isChecked() ? "You must select a row to plot!"
                                    : "You must select a column to plot!");
    return;
  }
  QDialog::accept();
}

}  // namespace lumetra::gui
