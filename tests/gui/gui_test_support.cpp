#include "tests/gui/gui_test_support.h"

#include <QAbstractButton>
#include <QPointer>
#include <QProcess>

#include "model/layout_view_geometry.h"
#include "plots/frequency_dialog.h"

namespace lumetra::gui::testing {

Answer RecordingHook::Question(std::string_view text, bool) {
  questions.emplace_back(text);
  if (onQuestion) onQuestion(text);
  if (answers.empty()) return Answer::Yes;
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

namespace {
// Timers still waiting for a dialog; a test that ends leaves none behind.
QList<QPointer<QTimer>>& Pending() {
  static QList<QPointer<QTimer>> timers;
  return timers;
}
}  // namespace

void CancelPendingModals() {
  for (const QPointer<QTimer>& timer : Pending())
    if (timer) timer->deleteLater();
  Pending().clear();
}

void OnNextModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  Pending().append(timer);
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool shown = modal && modal->isVisible();
    if (!shown && ++*tries <= 500) return;  // after 5 s without a dialog, give up rather than hang
    timer->stop();
    timer->deleteLater();
    if (!shown) return qWarning("OnNextModal: no modal dialog appeared");
    if (qEnvironmentVariableIsSet("LUMETRA_TEST_TRACE"))
      qWarning("modal: %s %s", modal->metaObject()->className(), qPrintable(modal->windowTitle()));
    action(modal);
  });
  timer->start(10);
}

void SetText(QWidget* dialog, const QString& field, const QString& text) {
  auto* edit = Child<QLineEdit>(dialog, field);
  if (!edit) return qWarning("no field %s", qPrintable(field));
  edit->setText(text);
}

void Click(QWidget* dialog, const QString& button) {
  auto* b = Child<QAbstractButton>(dialog, button);
  if (!b) return qWarning("no button %s", qPrintable(button));
  // A dialog just shown may not be laid out yet, so a click at the button's middle
  // could miss it; click() presses it as the mouse would.
  b->click();
}

void Fill(QWidget* form, const FormSteps& steps) {
  for (const auto& [name, text] : steps) {
    if (text == Clicked) Click(form, name);
    else SetText(form, name, text);
  }
}

void FillNextDialog(FormSteps steps, const QString& button, QString* title) {
  OnNextModal([steps, button, title](QWidget* dialog) {
    if (title) *title = dialog->windowTitle();
    Fill(dialog, steps);
    Click(dialog, button);
  });
}

void ReadNextDialog(QStringList& read, const QStringList& fields, const QString& button, FormSteps steps) {
  OnNextModal([&read, fields, button, steps](QWidget* dialog) {
    read = QStringList{dialog->windowTitle()} + Texts(dialog, fields);
    Fill(dialog, steps);
    Click(dialog, button);
  });
}

QStringList Texts(QWidget* form, const QStringList& fields) {
  QStringList texts;
  for (const QString& field : fields) {
    if (auto* edit = Child<QLineEdit>(form, field)) texts << edit->text();
    else if (auto* label = Child<QLabel>(form, field)) texts << label->text();
    else if (auto* button = Child<QAbstractButton>(form, field))
      texts << (button->isChecked() ? "checked" : "unchecked");
    else texts << "(no field " + field + ")";
  }
  return texts;
}

void AnswerFrequencyDialog(int row, QStringList* offered, int* preselected) {
  OnNextModal([=](QWidget* modal) {
    auto* d = qobject_cast<FrequencyDialog*>(modal);
    if (!d) {  // another question came: it is noted and closed
      if (offered) *offered << "(not the frequency question) " + modal->windowTitle();
      return void(modal->close());
    }
    for (int i = 0; offered && i < d->List()->count(); ++i) *offered << d->List()->item(i)->text();
    if (preselected) *preselected = d->List()->currentRow();
    if (row < 0) return d->reject();
    d->List()->setCurrentRow(row);
    d->accept();
  });
}

void AbortOnceRunning(QWidget* window, bool& wasVisible) {
  QTimer::singleShot(0, window, [window, &wasVisible] {
    auto* abort = Child<QPushButton>(window, "Abort");
    wasVisible = abort->isVisible();
    QTest::mouseClick(abort, Qt::LeftButton);
  });
}

Session::Session(int lx, int ly, const QString& name) {
  previousDirectory = QDir::currentPath();
  QDir::setCurrent(directory.path());
  window = std::make_unique<MainWindow>(directory.path().toStdString());
  window->resize(1000, 700);
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) qWarning("main window not exposed");
  FillNextDialog({{"ProjName", name}, {"ProjDir", directory.path()},
                  {"EditLx", QString::number(lx)}, {"EditLy", QString::number(ly)}});
  window->NewProjectCommand();
  QApplication::processEvents();
}

Session::~Session() {
  CancelPendingModals();
  SetFileChooserHook(nullptr);
  // Nothing asks about unsaved work on the way out.
  if (window) window->CurrentProject().Saved = true;
  window.reset();
  QDir::setCurrent(previousDirectory);
}

QString CopyExample(Session& s, const QString& name, const QString& to) {
  const QString folder = to.isEmpty() ? name : to;
  const QDir from(QStringLiteral(LUMETRA_EXAMPLES) + "/" + name);
  QDir(s.directory.path()).mkdir(folder);
  for (const QString& file : from.entryList(QDir::Files))
    QFile::copy(from.filePath(file), s.PathOf(folder + "/" + file));
  const QStringList projects = QDir(s.PathOf(folder)).entryList({"*.PRO"});
  return projects.isEmpty() ? QString() : s.PathOf(folder + "/" + projects.front());
}

QString OpenExample(Session& s, const QString& name, const QString& to) {
  const QString path = CopyExample(s, name, to);
  return s.window->OpenProjectFile(path) ? path : QString();
}

int RunCli(const QStringList& arguments, QByteArray* standardOutput) {
  QProcess cli;
  cli.start(LUMETRA_CLI, arguments);
  if (!cli.waitForFinished(120000)) return -1;
  if (standardOutput) *standardOutput = cli.readAllStandardOutput();
  if (cli.exitCode() != 0) qWarning("lumetra-cli: %s", cli.readAllStandardError().constData());
  return cli.exitCode();
}

void AnswerFileDialogs(const QString& path) {
  SetFileChooserHook([path](bool, const QString&) { return path; });
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    qWarning("%s not written", qPrintable(path));
  return path;
}

QByteArray Joined(const std::vector<std::string>& texts) {
  QByteArray all;
  for (const std::string& text : texts) all += QByteArray::fromStdString(text) + " | ";
  return all;
}

QPoint PixelOf(MainWindow& window, double x, double y) {
  const double scale = window.Layout()->View().Scale;
  return QPoint(BoardToPixelX(x, scale),
                BoardToPixelY(y, scale, window.CurrentProject().PcbLy));
}


void DragOn(QWidget* widget, QPoint from, QPoint to) {
  QTest::mousePress(widget, Qt::LeftButton, {}, from);
  QTest::mouseMove(widget, (from + to) / 2);
  QTest::mouseMove(widget, to);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

void Drag(MainWindow& window, QPoint from, QPoint to) {
  DragOn(window.Layout()->findChild<QWidget*>("BoardArea"), from, to);
}

void ClickBoard(MainWindow& window, QPoint at) {
  QWidget* canvas = window.Layout()->findChild<QWidget*>("BoardArea");
  QTest::mouseMove(canvas, at);
  QTest::mousePress(canvas, Qt::LeftButton, {}, at);
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, at);
}

void DoubleClickBoard(MainWindow& window, QPoint at) {
  QWidget* canvas = window.Layout()->findChild<QWidget*>("BoardArea");
  QTest::mouseMove(canvas, at);
  QTest::mouseDClick(canvas, Qt::LeftButton, {}, at);
}

void PressLayoutButton(MainWindow& window, const char* name) {
  QTest::mouseClick(window.Layout()->findChild<QAbstractButton*>(name), Qt::LeftButton);
}

QString PicturePath(const QString& name) {
  const QString directory = qEnvironmentVariable("LUMETRA_TEST_PICTURES");
  return directory.isEmpty() ? QString() : QDir(directory).filePath("lumetra_" + name + ".png");
}

void KeepPicture(const QImage& image, const QString& name) {
  const QString file = PicturePath(name);
  if (!file.isEmpty()) image.save(file);
}

std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
  auto printer = std::make_unique<QPrinter>();
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  return printer;
}

QString PdfText(const QString& file, bool inDrawingOrder) {
  QProcess pdftotext;
  pdftotext.start("pdftotext", inDrawingOrder ? QStringList{"-raw", file, "-"}
                                              : QStringList{file, "-"});
  if (!pdftotext.waitForFinished(30000)) return {};
  const QString kept = PicturePath(QFileInfo(file).baseName());
  if (!kept.isEmpty()) {
    QFile::remove(kept.chopped(4) + ".pdf");  // copy does not overwrite
    QFile::copy(file, kept.chopped(4) + ".pdf");
  }
  return QString::fromUtf8(pdftotext.readAllStandardOutput())
      .replace(QChar(0xFB01), "fi")  // the "fi" ligature
      .simplified();
}

}  // namespace lumetra::gui::testing
