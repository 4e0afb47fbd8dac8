#include "plots/db_scale_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "model/input_checks.h"
#include "model/number_format.h"
#include "plots/pattern_data.h"

namespace lumetra::gui {

DbScaleDialog::DbScaleDialog(UserInterface& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
  setObjectName("SetdBScale");
  setWindowTitle("Scale factor for polar plot");
  setModal(true);
  const char* captions[] = {"10 dB/div", "5 dB/div", "2 dB/div", "1 dB/div", "Special"};
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < 5; ++i) {
    buttons_[i] = new QRadioButton(captions[i], this);
    buttons_[i]->setObjectName(QString("RadioButton%1").arg(i + 1));
    if (i < 4) layout->addWidget(buttons_[i]);
  }
  special_ = new QLineEdit("10", this);
  special_->setObjectName("special");
  special_->setEnabled(false);
  connect(buttons_[4], &QRadioButton::toggled, this, [this](bool on) {
    special_->setEnabled(on);
    if (on) special_->setFocus();
  });
  auto* row = new QHBoxLayout;
  row->addWidget(buttons_[4]);
  row->addWidget(special_);
  row->addWidget(new QLabel("dB/div", this));
  layout->addLayout(row);

  auto* box = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  box->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  box->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  box->button(QDialogButtonBox::Help)->setObjectName("HelpBtn");
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(box, &QDialogButtonBox::helpRequested, this, [] { ShowHelpTopic(0); });
  layout->addWidget(box);
}

bool DbScaleDialog::Edit(double& dbPerDivision) {
  const int button = DbButtonFor(dbPerDivision);
  buttons_[button]->setChecked(true);
  special_->setEnabled(button == 4);
  if (button == 4) special_->setText(QString::fromStdString(FormatGeneral(dbPerDivision)));
  if (exec() != QDialog::Accepted) return false;
  dbPerDivision = accepted_;
  return true;
}

void DbScaleDialog::accept() {
  for (int i = 0; i < 4; ++i) {
    if (buttons_[i]->isChecked()) {
      accepted_ = DbOfButton(i);
      QDialog::accept();
      return;
    }
  }
  const std::string text = special_->text().toStdString();
  double value = 0.0;
  if (!CheckReal(text, "dB:s per division", 0.01, 25.0, ui_, &value)) {
    special_->setFocus();
    special_->selectAll();
    return;
  }
  accepted_ = value;
  QDialog::accept();
}

}  // namespace lumetra::gui
