#include "app/new_project_dialog.h"

#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include "editor/help_link.h"

namespace lumetra::gui {

NewProjectDialog::NewProjectDialog(UserInterface& ui, QWidget* parent)
    : CheckedDialog("New Project", help_topic::NewProject, ui, parent),
      currentDirectory_(QDir::currentPath()) {
  name_ = AddField("ProjName", "Project name");
  name_->setText("Project1");
  directory_ = AddField("ProjDir", "Directory");
  directory_->setToolTip("Double click to choose a directory");
  directory_->installEventFilter(this);
  lx_ = AddField("EditLx", "PCB length in X-dir.", "mm", 5);
  lx_->setText("160");
  ly_ = AddField("EditLy", "PCB length in Y-dir.", "mm", 5);
  ly_->setText("100");

  directories_ = new QFileSystemModel(this);
  directories_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  directories_->setRootPath(QDir::rootPath());
  directoryList_ = new QTreeView(this);
  directoryList_->setObjectName("DirectoryList");
  directoryList_->setModel(directories_);
  for (int column = 1; column < directories_->columnCount(); ++column)
    directoryList_->hideColumn(column);
  directoryList_->header()->hide();
  directoryList_->setMinimumHeight(180);
  directoryList_->installEventFilter(this);
  directoryList_->hide();
  Body()->insertWidget(1, directoryList_);
  connect(directoryList_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    currentDirectory_ = directories_->filePath(index);
    directory_->setText(QDir::toNativeSeparators(currentDirectory_));
  });
}

std::optional<NewProjectRequest> NewProjectDialog::Ask() {
  directory_->setText(QDir::toNativeSeparators(currentDirectory_));
  directoryList_->hide();
  name_->setFocus();
  name_->selectAll();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return NewProjectRequest{name_->text(), directory_->text(), lxValue_, lyValue_};
}

void NewProjectDialog::ShowDirectoryList() {
  const QModelIndex index = directories_->index(currentDirectory_);
  directoryList_->setCurrentIndex(index);
  directoryList_->scrollTo(index);
  directoryList_->show();
  directoryList_->setFocus();
}

bool NewProjectDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == directory_ && event->type() == QEvent::MouseButtonDblClick) {
    ShowDirectoryList();
    return true;
  }
  if (watched == directoryList_ && event->type() == QEvent::FocusOut) directoryList_->hide();
  return CheckedDialog::eventFilter(watched, event);
}

bool NewProjectDialog::Validate(FieldChecks& checks) {
  checks.Integer(lx_, "Lx", 0, 10000, &lxValue_);
  checks.Integer(ly_, "Ly", 0, 10000, &lyValue_);
  return true;
}

}  // namespace lumetra::gui
