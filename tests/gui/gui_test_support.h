// What the desktop program's tests share: a message hook that records every box
// and answers questions from a script, a way to act on a modal dialog once it is
// on screen, and a main window with a fresh project in a temporary directory.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/message_hook.h"

namespace lumetra::gui {
class MainWindow;
}

namespace lumetra::gui::testing {

class RecordingHook : public MessageHook {
public:
  RecordingHook() { SetMessageHook(this); }
  ~RecordingHook() override { SetMessageHook(nullptr); }

  void Message(std::string_view text) override {
    if (onMessage) onMessage(text);
    messages.emplace_back(text);
  }
  Answer Question(std::string_view text, bool withCancel) override;

  // Called with each question before it is answered (e.g. to press Abort), and
  // with each message as it appears.
  std::function<void(std::string_view)> onQuestion;
  std::function<void(std::string_view)> onMessage;
  // Answers of the next questions in order; Yes when it runs dry.
  std::deque<Answer> answers;
  std::vector<std::string> messages;
  std::vector<std::string> questions;

  void Clear() {
    messages.clear();
    questions.clear();
  }
};

// Calls action with the modal dialog once it is the active modal widget and shown;
// the action usually fills it and presses a button. Checks must be made on values
// the action stores, since it runs inside the dialog's event loop.
void OnNextModal(std::function<void(QWidget*)> action);
// Drops every action still waiting for its dialog.
void CancelPendingModals();
// The same for a dialog of type D.
template <typename D>
void OnNextDialog(std::function<void(D*)> action) {
  OnNextModal([action](QWidget* w) { action(qobject_cast<D*>(w)); });
}

// Named child of a widget; fails the test (returns null) when it is missing.
template <typename T>
T* Child(QWidget* parent, const QString& name) {
  return parent ? parent->findChild<T*>(name) : nullptr;
}

void SetText(QWidget* dialog, const QString& field, const QString& text);
void Click(QWidget* dialog, const QString& button);

// A shown main window with a new project of lx x ly mm created through the New
// dialog in a temporary directory, which also becomes the working directory.
struct Session {
  Session(int lx = 160, int ly = 100, const QString& name = "Board");
  ~Session();

  QTemporaryDir directory;
  QString previousDirectory;
  RecordingHook hook;
  std::unique_ptr<MainWindow> window;

  QString PathOf(const QString& fileName) const { return directory.filePath(fileName); }
};

// Where a rendered page is kept for a look: the directory named by
// LUMETRA_TEST_PICTURES, or nowhere (empty) when it is not set.
QString PicturePath(const QString& name);
// Saves a rendered picture there, when pictures are kept.
void KeepPicture(const QImage& image, const QString& name);
// The text of a printed PDF (through pdftotext), blanks and ligatures joined by the
// extractor; a copy of the PDF is kept beside the pictures. With inDrawingOrder
// the text follows the order it was drawn in rather than the extractor's guess at
// columns, which splits long lines of a listing.
QString PdfText(const QString& file, bool inDrawingOrder = false);

// The board-area pixel of a board position (mm) in the window's layout view.
QPoint PixelOf(MainWindow& window, double x, double y);

// Mouse on the board area: a drag with the left button, and a click.
void Drag(MainWindow& window, QPoint from, QPoint to);
void ClickBoard(MainWindow& window, QPoint at);
// A double click, which opens what lies under the mouse for editing.
void DoubleClickBoard(MainWindow& window, QPoint at);
// Presses a button of the layout page by its name.
void PressLayoutButton(MainWindow& window, const char* name);

}  // namespace lumetra::gui::testing
