#include "editor/connection_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "model/connections.h"
#include "model/file_io.h"

namespace lumetra::gui {

namespace {

// Everything goes to the main window's interface except the progress, which this
// dialog shows in its own gauge.
class GaugeUi : public UserInterface {
public:
  GaugeUi(UserInterface& base, QProgressBar& gauge) : base_(base), gauge_(gauge) {}
  void ShowMessage(std::string_view text) override { base_.ShowMessage(text); }
  bool AskYesNo(std::string_view q) override { return base_.AskYesNo(q); }
  Answer AskYesNoCancel(std::string_view q) override { return base_.AskYesNoCancel(q); }
  void SetStatusText(StatusPanel panel, std::string_view text) override {
    base_.SetStatusText(panel, text);
  }
  void SetBusy(bool busy) override { base_.SetBusy(busy); }
  void SetProgress(int position, int maximum) override {
    gauge_.setMaximum(maximum);
    gauge_.setValue(position);
    gauge_.repaint();
  }
  bool PumpEventsAndCheckAbort() override { return base_.PumpEventsAndCheckAbort(); }

private:
  UserInterface& base_;
  QProgressBar& gauge_;
};

}  // namespace

ConnectionDialog::ConnectionDialog(UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  error_ = new QLabel(CannotConnectText, this);
  error_->setObjectName("ErrorLabel");
  hint_ = new QLabel(CheckChargesText, this);
  hint_->setObjectName("HintLabel");
  gauge_ = new QProgressBar(this);
  gauge_->setObjectName("Gauge");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(error_);
  layout->addWidget(hint_);
  layout->addWidget(gauge_);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

void ConnectionDialog::Run(Project& project) {
  project_ = &project;
  setWindowTitle(ConnectingCaption);
  error_->hide();
  hint_->hide();
  gauge_->setValue(0);
  gauge_->show();
  // The step runs once the dialog is on screen, so its gauge can be watched.
  QTimer::singleShot(0, this, [this] { Connect(); });
  exec();
  project_ = nullptr;
}

void ConnectionDialog::Connect() {
  if (!project_) return;
  GaugeUi ui(ui_, *gauge_);
  bool connected = false;
  try {
    connected = RunConnectionStep(*project_, ui);
  } catch (const FileError& error) {
    project_->Connected = false;
    gauge_->hide();
    ui_.ShowMessage(error.what());
    return;
  }
  if (!connected) {
    error_->show();
    hint_->show();
    gauge_->hide();
    return;
  }
  setWindowTitle(ConnectedCaption);
}

}  // namespace lumetra::gui
