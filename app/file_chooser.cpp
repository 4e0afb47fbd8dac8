#include "app/file_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace lumetra::gui {

namespace {

FileChooserHook& Hook() {
  static FileChooserHook hook;
  return hook;
}

QString Choose(QWidget* parent, const QString& title, const QString& filters, bool save) {
  if (Hook()) return Hook()(save, title);
  // The last directory of either kind of dialog is where the next one opens.
  static QString lastDirectory = QDir::currentPath();
  QFileDialog dialog(parent, title, lastDirectory, filters);
  dialog.setObjectName(save ? "SaveDialog" : "OpenDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString chosen = dialog.selectedFiles().first();
  lastDirectory = QFileInfo(chosen).absolutePath();
  return chosen;
}

}  // namespace

void SetFileChooserHook(FileChooserHook hook) { Hook() = std::move(hook); }

QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filters) {
  return Choose(parent, title, filters, false);
}

QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filters) {
  return Choose(parent, title, filters, true);
}

}  // namespace lumetra::gui
