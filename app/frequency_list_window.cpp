#include "app/frequency_list_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/file_chooser.h"
#include "model/file_io.h"
#include "model/frequency_list_file.h"

namespace lumetra::gui {

FrequencyListWindow::FrequencyListWindow(UserInterface& ui, QWidget* parent)
    : QWidget(parent, Qt::Tool), ui_(ui) {
  setObjectName("FrequencyList");
  setWindowTitle("Frequency list");
  list_ = new QPlainTextEdit(this);
  list_->setObjectName("FreqList");
  clear_ = new QPushButton("Clear list", this);
  clear_->setObjectName("ClearList");
  read_ = new QPushButton("Read list from file", this);
  read_->setObjectName("ReadList");
  save_ = new QPushButton("Save list in file", this);
  save_->setObjectName("SaveList");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Frequency [MHz]", this));
  layout->addWidget(list_, 1);
  layout->addWidget(clear_);
  layout->addWidget(read_);
  layout->addWidget(save_);
  resize(220, 360);
  connect(clear_, &QPushButton::clicked, list_, &QPlainTextEdit::clear);
  connect(read_, &QPushButton::clicked, this, &FrequencyListWindow::Read);
  connect(save_, &QPushButton::clicked, this, &FrequencyListWindow::Save);
}

std::vector<std::string> FrequencyListWindow::Lines() const {
  QStringList lines = list_->toPlainText().split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  std::vector<std::string> result;
  for (const QString& line : lines) result.push_back(line.toStdString());
  return result;
}

void FrequencyListWindow::SetLines(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  list_->setPlainText(text.join('\n'));
}

void FrequencyListWindow::SetLocked(bool locked) {
  for (QWidget* w : std::initializer_list<QWidget*>{list_, clear_, read_, save_})
    w->setEnabled(!locked);
}

void FrequencyListWindow::Read() {
  const QString file =
      ChooseFileToOpen(this, "Read list from file", "Text file (*.txt *.TXT);;Any file (*)");
  if (file.isEmpty()) return;
  try {
    QStringList lines;
    for (const std::string& line : ReadFrequencyListFile(file.toStdString()))
      lines << QString::fromStdString(line);
    list_->setPlainText(lines.join('\n'));
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
}

void FrequencyListWindow::Save() {
  const QString chosen = ChooseFileToSave(this, "Save list in file", "Text file (*.txt *.TXT)");
  if (chosen.isEmpty()) return;
  const std::filesystem::path path = FrequencyListFileName(chosen.toStdString());
  if (QFileInfo::exists(QString::fromStdString(path.string())) &&
      !ui_.AskYesNo("File \"" + path.filename().string() + "\" already exist.  Overwrite?"))
    return;
  try {
    WriteFrequencyListFile(path, Lines());
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
}

}  // namespace lumetra::gui
