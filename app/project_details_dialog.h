// "Project details": the saved .PRO in readable form and the project's note, kept
// in the .TXT beside it.
#pragma once

#include <QDialog>
#include <filesystem>

#include "model/user_interface.h"

class QLabel;
class QPlainTextEdit;

namespace lumetra::gui {

class ProjectDetailsDialog : public QDialog {
  Q_OBJECT
public:
  ProjectDetailsDialog(UserInterface& ui, QWidget* parent);

  // Shows the project's details; a project never saved has no .PRO to show, which
  // is reported instead. The note is written on Close only if it was changed.
  void Show(const std::filesystem::path& projectFile);

private:
  void Close();

  UserInterface& ui_;
  std::filesystem::path projectFile_;
  QLabel* labels_[15];
  QPlainTextEdit* memo_;
};

}  // namespace lumetra::gui
