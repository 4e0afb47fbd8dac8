// "New Project": name, directory and board size of a new project. A double click
// on the directory field opens a directory list; choosing a directory there copies
// it into the field.
#pragma once

#include <optional>

#include "editor/checked_dialog.h"

class QTreeView;
class QFileSystemModel;

namespace lumetra::gui {

struct NewProjectRequest {
  QString Name;
  QString Directory;
  std::int32_t Lx = 0, Ly = 0;  // mm
};

class NewProjectDialog : public CheckedDialog {
  Q_OBJECT
public:
  NewProjectDialog(UserInterface& ui, QWidget* parent);

  std::optional<NewProjectRequest> Ask();

protected:
  bool Validate(FieldChecks& checks) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ShowDirectoryList();

  QLineEdit *name_, *directory_, *lx_, *ly_;
  QTreeView* directoryList_;
  QFileSystemModel* directories_;
  QString currentDirectory_;
  std::int32_t lxValue_ = 0, lyValue_ = 0;
};

}  // namespace lumetra::gui
