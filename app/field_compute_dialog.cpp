#include "app/field_compute_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "model/forwarding_ui.h"
#include "model/file_io.h"

namespace lumetra::gui {

// The program's user interface with the dialog's own abort flag in the event poll.
class FieldComputeDialog::AbortingUi : public ForwardingUi {
public:
  AbortingUi(UserInterface& inner, const bool& abort) : ForwardingUi(inner), abort_(abort) {}
  bool PumpEventsAndCheckAbort() override {
    QApplication::processEvents();
    return abort_;
  }

private:
  const bool& abort_;
};

FieldComputeDialog::FieldComputeDialog(UserInterface& ui,
                                       std::function<std::filesystem::path()> projectFile,
                                       const char* caption, int helpTopic, QWidget* parent)
    : QDialog(parent), ui_(ui), projectFile_(std::move(projectFile)), caption_(caption) {
  setWindowTitle(caption);
  setModal(true);
  grid_ = new QGridLayout;
  compute_ = new QPushButton("Compute", this);
  compute_->setObjectName("ComputeBtn");
  compute_->setDefault(true);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("CancelBtn");
  help_ = new QPushButton("Help", this);
  help_->setObjectName("HelpBtn");
  connect(compute_, &QPushButton::clicked, this, &FieldComputeDialog::Compute);
  connect(cancel_, &QPushButton::clicked, this, &FieldComputeDialog::reject);
  ConnectHelpButton(help_, helpTopic);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {compute_, cancel_, help_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid_);
  layout->addLayout(buttons);
}

QLineEdit* FieldComputeDialog::AddField(const char* name, const QString& caption,
                                        const QString& unit, int row, int column,
                                        int maxLength) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setMaximumWidth(90);
  grid_->addWidget(new QLabel(caption, this), row, column * 3);
  grid_->addWidget(edit, row, column * 3 + 1);
  grid_->addWidget(new QLabel(unit, this), row, column * 3 + 2);
  return edit;
}

void FieldComputeDialog::SetCaption(std::string_view caption) {
  setWindowTitle(QString::fromUtf8(caption.data(), static_cast<int>(caption.size())));
}

void FieldComputeDialog::reject() {
  // While computing the button reads "Abort": it stops the run, not the dialog.
  if (computing_) {
    abort_ = true;
    return;
  }
  QDialog::reject();
}

void FieldComputeDialog::closeEvent(QCloseEvent* event) {
  if (computing_) {
    abort_ = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void FieldComputeDialog::Compute() {
  if (computing_) return;
  computing_ = true;
  abort_ = false;
  cancel_->setText("Abort");
  compute_->setEnabled(false);
  help_->setEnabled(false);
  AbortingUi ui(ui_, abort_);
  try {
    Run(ui);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
  setWindowTitle(caption_);
  cancel_->setText("Cancel");
  compute_->setEnabled(true);
  help_->setEnabled(true);
  computing_ = false;
}

}  // namespace lumetra::gui
