// What the desktop program's tests share: a message hook that records every box
// and answers questions from a script, a way to act on a modal dialog once it is
// on screen, and a main window with a fresh project in a temporary directory.
#pragma once

// The widgets and commands every test of the desktop program drives.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPoint>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QString>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/computation_page.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/message_hook.h"
#include "app/status_bar.h"
#include "editor/layout_page.h"
#include "model/layout_editing.h"
#include "model/project.h"

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
// A form filled in step by step: each (name, text) types the text into the line
// edit of that name, or, with the text Clicked, clicks the button (a radio button,
// a check box) of that name.
inline const QString Clicked = QStringLiteral("<clicked>");
using FormSteps = std::vector<std::pair<QString, QString>>;
void Fill(QWidget* form, const FormSteps& steps);
// The next dialog filled in so and its button pressed; its caption is stored
// in title when asked.
void FillNextDialog(FormSteps steps, const QString& button = "OKBtn", QString* title = nullptr);
// The next dialog's caption and the texts of the fields named (as Texts reads
// them) stored in read as it opens; then the dialog filled in and its button pressed.
void ReadNextDialog(QStringList& read, const QStringList& fields, const QString& button = "OKBtn",
                    FormSteps steps = {});
// The texts of a form's line edits and labels, and whether its buttons are
// "checked" or "unchecked", in the order named.
QStringList Texts(QWidget* form, const QStringList& fields);

// The message of the error a call throws; empty when it throws none.
template <typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const std::exception& error) {
    return error.what();
  }
  return {};
}

// Answers the next frequency question: the entry of row chosen, or cancelled when
// row is negative; the entries offered and the row selected on opening are
// stored where asked.
void AnswerFrequencyDialog(int row, QStringList* offered = nullptr, int* preselected = nullptr);

// A secondary window opened by the main window's action, once shown.
template <typename W>
W* OpenWindow(MainWindow& main, const char* action, W* (MainWindow::*window)() const) {
  main.Action(action)->trigger();
  W* shown = (main.*window)();
  if (!QTest::qWaitForWindowExposed(shown)) qWarning("%s window not exposed", action);
  return shown;
}
// Presses the window's "Abort" button as soon as a run lets events through;
// wasVisible tells whether the button was shown then.
void AbortOnceRunning(QWidget* window, bool& wasVisible);

// The messages a study window's Compute shows when it refuses to run; none when
// it ran, or left a result, all the same (a refusal always says why).
template <typename W>
std::vector<std::string> Refusal(W* window, RecordingHook& hook) {
  hook.Clear();
  if (window->Compute() || window->Result()) return {};
  return hook.messages;
}

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
  // The window and its project, for auto [w, p] = s.WindowAndProject().
  std::pair<MainWindow&, Project&> WindowAndProject() { return {*window, window->CurrentProject()}; }
};

// A bundled example copied into a folder of the session's directory named to
// (or as the example); the path of its .PRO file. OpenExample also opens it in
// the window, and gives an empty path when it would not open.
QString CopyExample(Session& s, const QString& name, const QString& to = {});
QString OpenExample(Session& s, const QString& name, const QString& to = {});
// Runs lumetra-cli with the arguments; its exit code (-1 when it did not finish)
// and, when asked, its standard output.
int RunCli(const QStringList& arguments, QByteArray* standardOutput = nullptr);
// The file dialogs answer with path (an empty path: cancelled).
void AnswerFileDialogs(const QString& path);
// A file's bytes; empty when it cannot be read. WriteFile replaces a file's
// bytes and gives its path.
QByteArray FileBytes(const QString& path);
QString WriteFile(const QString& path, const QByteArray& bytes);
// The recorded texts in one line, for a failing check to show.
QByteArray Joined(const std::vector<std::string>& texts);

// The placed items of a project compared field by field.
inline auto Fields(const Segment& s) { return std::tie(s.Xc, s.Yc, s.Lx, s.Ly, s.ChX, s.ChY); }
inline auto Fields(const VoltageSource& v) {
  return std::tie(v.X, v.Y, v.Dx, v.Dy, v.ReV, v.ImV, v.IsJx, v.ElementNo);
}
inline auto Fields(const ImpedanceElement& z) {
  return std::tie(z.X, z.Y, z.Dx, z.Dy, z.R, z.LC, z.IsJx, z.ElementNo);
}
inline auto Fields(const GroundPoint& g) { return std::tie(g.ChargeNo, g.Edge, g.Size, g.X, g.Y); }
template <typename T>
bool Same(const std::vector<T>& a, const std::vector<T>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (Fields(a[k]) != Fields(b[k])) return false;
  return true;
}

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

// A printer into the PDF file at path.
std::unique_ptr<QPrinter> PdfPrinter(const QString& path);

// Prints through a page's print question (SetPrinter, SetPrintConfirmation) into
// a PDF: first declined, when nothing may be written, then accepted. The text of
// the PDF, or "printed although declined".
template <typename Page>
QString PrintDecliningFirst(Page* page, const std::function<void()>& print, const QString& pdf,
                            bool inDrawingOrder = false) {
  const std::unique_ptr<QPrinter> printer = PdfPrinter(pdf);
  page->SetPrinter(printer.get());
  auto accept = std::make_shared<bool>(false);
  page->SetPrintConfirmation([accept](QPrinter&) { return *accept; });
  print();
  const bool printedAnyway = QFile::exists(pdf);
  *accept = true;
  print();
  page->SetPrinter(nullptr);
  return printedAnyway ? QString("printed although declined") : PdfText(pdf, inDrawingOrder);
}

// The board-area pixel of a board position (mm) in the window's layout view.
QPoint PixelOf(MainWindow& window, double x, double y);

// A drag with the left button over a widget, through the middle of the way.
void DragOn(QWidget* widget, QPoint from, QPoint to);
// Mouse on the board area: a drag with the left button, and a click.
void Drag(MainWindow& window, QPoint from, QPoint to);
void ClickBoard(MainWindow& window, QPoint at);
// A double click, which opens what lies under the mouse for editing.
void DoubleClickBoard(MainWindow& window, QPoint at);
// Presses a button of the layout page by its name.
void PressLayoutButton(MainWindow& window, const char* name);

}  // namespace lumetra::gui::testing

// The names every test file of the desktop program speaks in.
using namespace lumetra;
using namespace lumetra::gui;
using namespace lumetra::gui::testing;
