#include "editor/impedance_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

#include "editor/help_link.h"
#include "model/layout_editing.h"

namespace lumetra::gui {

namespace {
const char* const DefineTitle = "Define impedance element";
// Zero must be accepted, a negative value not: the lower bound sits just below 0.
constexpr double Lowest = -1e-38;
constexpr double Highest = 1e12;
}  // namespace

ImpedanceDialog::ImpedanceDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog(DefineTitle, help_topic::Impedance, ui, parent) {
  re_ = AddField("ReImp", "Resistance", "Ohm");
  auto* type = new QGroupBox("Type", this);
  auto* typeLayout = new QHBoxLayout(type);
  rl_ = new QRadioButton("R + jwL", type);
  rl_->setObjectName("RL");
  rc_ = new QRadioButton("R - j/wC", type);
  rc_->setObjectName("RC");
  typeLayout->addWidget(rl_);
  typeLayout->addWidget(rc_);
  Form()->addRow(type);
  im_ = new QLineEdit(this);
  im_->setObjectName("ImImp");
  imLabel_ = new QLabel(this);
  imLabel_->setObjectName("ImImpLabel");
  imUnit_ = new QLabel(this);
  imUnit_->setObjectName("ImImpUnit");
  auto* row = new QHBoxLayout;
  row->addWidget(im_);
  row->addWidget(imUnit_);
  Form()->addRow(imLabel_, row);
  rl_->setChecked(true);
  ShowType();
  connect(rl_, &QRadioButton::toggled, this, [this] { ShowType(); });
}

void ImpedanceDialog::ShowType() {
  const bool inductive = rl_->isChecked();
  imLabel_->setText(inductive ? "Inductance" : "Capacitance");
  imUnit_->setText(inductive ? "Henry" : "Farad");
}

bool ImpedanceDialog::Define(double& r, double& lc) {
  setWindowTitle(DefineTitle);
  re_->setText("0");
  im_->setText("0");
  rl_->setChecked(true);
  ShowType();
  return Run(r, lc);
}

bool ImpedanceDialog::Edit(int number, double& r, double& lc) {
  setWindowTitle("Edit impedance element " + QString::number(number));
  re_->setText(NumberText(r));
  im_->setText(NumberText(std::fabs(lc)));
  (lc >= 0 ? rl_ : rc_)->setChecked(true);
  ShowType();
  const bool accepted = Run(r, lc);
  setWindowTitle(DefineTitle);
  return accepted;
}

bool ImpedanceDialog::Run(double& r, double& lc) {
  re_->setFocus();
  re_->selectAll();
  if (exec() != QDialog::Accepted) return false;
  r = rValue_;
  lc = StoredLC(imValue_, rc_->isChecked());
  return true;
}

bool ImpedanceDialog::Validate(FieldChecks& checks) {
  checks.Real(re_, "Resistance", Lowest, Highest, &rValue_);
  checks.Real(im_, "Inductance or capacitance", Lowest, Highest, &imValue_);
  return true;
}

}  // namespace lumetra::gui
