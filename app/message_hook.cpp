#include "app/message_hook.h"

#include <QApplication>
#include <QMessageBox>

namespace lumetra::gui {

namespace {
MessageHook* hook = nullptr;
const char* const Title = "Lumetra";
}  // namespace

void SetMessageHook(MessageHook* newHook) { hook = newHook; }

void ShowMessageBox(std::string_view text) {
  if (hook) return hook->Message(text);
  QMessageBox::information(QApplication::activeWindow(), Title,
                           QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

Answer AskQuestionBox(std::string_view text, bool withCancel) {
  if (hook) return hook->Question(text, withCancel);
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  const auto pressed = QMessageBox::question(
      QApplication::activeWindow(), Title,
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), buttons);
  if (pressed == QMessageBox::Yes) return Answer::Yes;
  if (pressed == QMessageBox::No) return Answer::No;
  // Closing the box with Escape or its close button is a Cancel, or a No where
  // there is no Cancel.
  return withCancel ? Answer::Cancel : Answer::No;
}

}  // namespace lumetra::gui
