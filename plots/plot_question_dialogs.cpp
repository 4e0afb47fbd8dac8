#include "plots/plot_question_dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumetra::gui {

namespace {

// A dialog with a title bar and a close box (which rejects), without help button.
constexpr Qt::WindowFlags QuestionFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// "Ok" (the default) and "Cancel" side by side.
QPushButton* AddOkButton(QDialog* dialog, QVBoxLayout* layout, const char* caption) {
  auto* row = new QHBoxLayout;
  auto* ok = new QPushButton(caption, dialog);
  ok->setObjectName("OkBtn");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", dialog);
  cancel->setObjectName("CancelBtn");
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  row->addStretch();
  layout->addLayout(row);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return ok;
}

}  // namespace

ListQuestionDialog::ListQuestionDialog(UserInterface& ui, QWidget* parent)
    : QDialog(parent, QuestionFlags), ui_(ui) {
  setObjectName("TPlotSel");
  setWindowTitle("Plot selection");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setObjectName("Label1");
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  layout->addWidget(label_);
  layout->addWidget(list_);
  AddOkButton(this, layout, "Ok");
  connect(list_, &QListWidget::itemDoubleClicked, this, &ListQuestionDialog::accept);
}

std::optional<std::size_t> ListQuestionDialog::Ask(const std::string& question,
                                                   const std::vector<std::string>& entries) {
  label_->setText(QString::fromStdString(question));
  list_->clear();
  for (const std::string& e : entries) list_->addItem(QString::fromStdString(e));
  list_->setCurrentRow(-1);
  if (exec() != QDialog::Accepted || list_->currentRow() < 0) return std::nullopt;
  return static_cast<std::size_t>(list_->currentRow());
}

void ListQuestionDialog::accept() {
  if (list_->currentRow() < 0 || list_->selectedItems().isEmpty()) {
    ui_.ShowMessage(SelectItemMessage);
    return;
  }
  QDialog::accept();
}

CutKindDialog::CutKindDialog(QWidget* parent) : QDialog(parent, QuestionFlags) {
  setObjectName("TCutSel");
  setWindowTitle("Select radiation pattern cut");
  setModal(true);
  setMinimumWidth(280);  // room for the caption
  auto* layout = new QVBoxLayout(this);
  theta_ = new QRadioButton("Theta angle is constant", this);
  theta_->setObjectName("ThetaCut");
  theta_->setChecked(true);
  auto* phi = new QRadioButton("Phi angle is constant", this);
  phi->setObjectName("RadioButton1");
  layout->addWidget(theta_);
  layout->addWidget(phi);
  AddOkButton(this, layout, "OK");
}

std::optional<PatternCutKind> CutKindDialog::Ask() {
  if (exec() != QDialog::Accepted) return std::nullopt;
  return theta_->isChecked() ? PatternCutKind::ThetaConstant : PatternCutKind::PhiConstant;
}

}  // namespace lumetra::gui
