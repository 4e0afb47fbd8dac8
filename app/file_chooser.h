// The program's file dialogs. Qt's own dialog is used rather than the desktop's,
// so that it looks the same everywhere and a test can drive it like any other
// modal dialog. Overwriting is asked by the program itself, with its own texts.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace lumetra::gui {

// Empty when cancelled. filters are Qt filters separated by ";;".
QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filters);
QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filters);

// A test puts an answer in place of the dialog: given whether a file is saved and
// the dialog's title, it returns the chosen path (empty: cancelled). Empty
// function: the real dialog again.
using FileChooserHook = std::function<QString(bool save, const QString& title)>;
void SetFileChooserHook(FileChooserHook hook);

}  // namespace lumetra::gui
