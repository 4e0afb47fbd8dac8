#include "editor/checked_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "model/number_format.h"

namespace lumetra::gui {

CheckedDialog::CheckedDialog(const QString& title, int helpTopic, UserInterface& ui,
                             QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setWindowTitle(title);
  setModal(true);
  body_ = new QVBoxLayout(this);
  form_ = new QFormLayout;
  body_->addLayout(form_);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* help = buttons_->addButton("&Help", QDialogButtonBox::HelpRole);
  help->setObjectName("HelpBtn");
  OkButton()->setObjectName("OKBtn");
  buttons_->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  ConnectHelpButton(help, helpTopic);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  body_->addStretch();
  body_->addWidget(buttons_);
}

void CheckedDialog::accept() {
  FieldChecks checks(ui_);
  const bool valid = Validate(checks);
  if (checks.Passed() && valid) QDialog::accept();
}

QPushButton* CheckedDialog::OkButton() const { return buttons_->button(QDialogButtonBox::Ok); }

QLineEdit* CheckedDialog::AddField(const char* objectName, const QString& label,
                                   const QString& unit, int maxLength) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(objectName);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  if (unit.isEmpty()) {
    form_->addRow(label, edit);
  } else {
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    auto* unitLabel = new QLabel(unit, this);
    unitLabel->setObjectName(QString(objectName) + "Unit");
    row->addWidget(unitLabel);
    form_->addRow(label, row);
  }
  return edit;
}

QString NumberText(double value) { return QString::fromStdString(FormatGeneral(value)); }

}  // namespace lumetra::gui
