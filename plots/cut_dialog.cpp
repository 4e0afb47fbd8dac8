#include "plots/cut_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "model/number_format.h"

namespace lumetra::gui {

namespace {

QListWidget* AngleList(const char* name, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  return list;
}

void Fill(QListWidget* list, const std::vector<double>& values) {
  list->clear();
  for (double v : values) list->addItem(QString::fromStdString(FormatGeneral(v)));
}

}  // namespace

CutDialog::CutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("CutDialog");
  setWindowTitle("Radiation pattern cut");
  setModal(true);
  auto* group = new QGroupBox("Cut selection", this);
  phiCut_ = new QRadioButton("Phi = Constant", group);
  phiCut_->setObjectName("PhiCut");
  thetaCut_ = new QRadioButton("Theta = Constant", group);
  thetaCut_->setObjectName("ThetaCut");
  phiCut_->setChecked(true);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(phiCut_);
  groupLayout->addWidget(thetaCut_);
  thetaList_ = AngleList("ListBoxTheta", this);
  phiList_ = AngleList("ListBoxPhi", this);
  for (QListWidget* list : {thetaList_, phiList_})
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(phiCut_, &QRadioButton::toggled, this, &CutDialog::ShowMatchingList);

  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  buttons->button(QDialogButtonBox::Help)->setObjectName("HelpBtn");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [] { ShowHelpTopic(0); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(thetaList_);
  layout->addWidget(phiList_);
  layout->addWidget(buttons);
  ShowMatchingList();
}

void CutDialog::SetAngles(const CutAngleLists& angles) {
  angles_ = angles;
  Fill(thetaList_, angles.Theta);
  Fill(phiList_, angles.Phi);
}

CutKind CutDialog::Kind() const {
  return thetaCut_->isChecked() ? CutKind::ThetaConstant : CutKind::PhiConstant;
}

std::optional<double> CutDialog::SelectedAngle() const {
  const bool theta = Kind() == CutKind::ThetaConstant;
  const QListWidget* list = theta ? thetaList_ : phiList_;
  const std::vector<double>& values = theta ? angles_.Theta : angles_.Phi;
  const int row = list->currentRow();
  if (row < 0 || !list->currentItem() || !list->currentItem()->isSelected() ||
      static_cast<std::size_t>(row) >= values.size())
    return std::nullopt;
  // The value itself rather than its text, so the cut matches the records exactly.
  return values[static_cast<std::size_t>(row)];
}

void CutDialog::ShowMatchingList() {
  const bool theta = thetaCut_->isChecked();
  thetaList_->setVisible(theta);
  phiList_->setVisible(!theta);
}

}  // namespace lumetra::gui
