#include "app/qt_user_interface.h"

#include <QApplication>
#include <QCursor>

#include "app/message_hook.h"
#include "app/status_bar.h"

namespace lumetra::gui {

QtUserInterface::~QtUserInterface() {
  while (busyDepth_ > 0) SetBusy(false);
}

void QtUserInterface::ShowMessage(std::string_view text) {
  if (sink_) {
    sink_(text);
    return;
  }
  // A message always appears with the normal cursor, even in the middle of work.
  const int depth = busyDepth_;
  for (int k = 0; k < depth; ++k) QApplication::restoreOverrideCursor();
  ShowMessageBox(text);
  for (int k = 0; k < depth; ++k) QApplication::setOverrideCursor(Qt::WaitCursor);
}

bool QtUserInterface::AskYesNo(std::string_view question) {
  const int depth = busyDepth_;
  for (int k = 0; k < depth; ++k) QApplication::restoreOverrideCursor();
  const bool yes = AskQuestionBox(question, false) == Answer::Yes;
  for (int k = 0; k < depth; ++k) QApplication::setOverrideCursor(Qt::WaitCursor);
  return yes;
}

Answer QtUserInterface::AskYesNoCancel(std::string_view question) {
  const int depth = busyDepth_;
  for (int k = 0; k < depth; ++k) QApplication::restoreOverrideCursor();
  const Answer answer = AskQuestionBox(question, true);
  for (int k = 0; k < depth; ++k) QApplication::setOverrideCursor(Qt::WaitCursor);
  return answer;
}

void QtUserInterface::SetStatusText(StatusPanel panel, std::string_view text) {
  if (statusBar_)
    statusBar_->SetText(panel, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void QtUserInterface::SetBusy(bool busy) {
  if (busy) {
    ++busyDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busyDepth_ > 0) {
    --busyDepth_;
    QApplication::restoreOverrideCursor();
  }
}

bool QtUserInterface::PumpEventsAndCheckAbort() {
  QApplication::processEvents();
  return abortRequested_;
}

void QtUserInterface::Beep() { QApplication::beep(); }

}  // namespace lumetra::gui
