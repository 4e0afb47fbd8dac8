#include "plots/plot_question_dialogs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumetra::gui {

namespace {

// A dialog with a title bar but no close box.
constexpr Qt::WindowFlags QuestionFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

QPushButton* AddOkButton(QDialog* dialog, QVBoxLayout* layout, const char* caption) {
  auto* ok = new QPushButton(caption, dialog);
  ok->setObjectName("OkBtn");
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
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

PatternCutKind CutKindDialog::Ask() {
  exec();
  return theta_->isChecked() ? PatternCutKind::ThetaConstant : PatternCutKind::PhiConstant;
}

}  // namespace lumetra::gui
