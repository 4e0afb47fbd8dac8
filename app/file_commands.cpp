// New, Open, Import, Save and Save As of the File menu: the dialogs are the window's, the
// work is the core's.
#include <QFileInfo>
#include <QUndoStack>

#include "app/file_chooser.h"
#include "app/kicad_import_dialog.h"
#include "app/main_window.h"
#include "app/computation_page.h"
#include "app/new_project_dialog.h"
#include "app/qt_user_interface.h"
#include "editor/layout_page.h"
#include "model/project_commands.h"

namespace lumetra::gui {

namespace {
const char* const ProjectFilter = "Project Files (*.PRO)";
}

void MainWindow::NewProjectCommand() {
  if (!ConfirmSave()) return;
  const std::optional<NewProjectRequest> request = newProjectDialog_->Ask();
  if (!request) return;
  if (!NewProject(project_, request->Directory.toStdString(), request->Name.toStdString(),
                  request->Lx, request->Ly, *ui_))
    return;
  ProjectOpened();
}

void MainWindow::OpenProjectCommand() {
  if (!ConfirmSave()) return;
  const QString file = ChooseFileToOpen(this, "Open Project", ProjectFilter);
  if (file.isEmpty()) return;
  OpenProjectFile(file);
}

bool MainWindow::OpenProjectFile(const QString& path) {
  if (!OpenProject(project_, QFileInfo(path).absoluteFilePath().toStdString(), *ui_))
    return false;
  ProjectOpened();
  return true;
}

void MainWindow::ImportKicadCommand() {
  // The imported project takes the place of the open one, as Open's would.
  if (!ConfirmSave()) return;
  kicadImportDialog_->SetMaxUnknowns(options_.MaxUnknowns);
  const std::optional<KicadImportResult> result = kicadImportDialog_->Ask();
  if (!result) return;
  // A grid fine enough for tracks would cover a whole board in dots: the import
  // opens without them, and the Grid dialog shows them again.
  const bool showGridPoints = project_.ShowGridPoints;
  project_.ShowGridPoints = false;
  if (!OpenProjectFile(result->projectFile)) {
    project_.ShowGridPoints = showGridPoints;
    return;
  }
  ShowImportReport(this, result->report);
}

void MainWindow::SaveCommand() {
  if (!SaveProject(project_, *ui_)) return;
  computation_->SaveProjectSettings();
  // The state on disk is the clean state of the undo stack from now on.
  layout_->UndoStack()->setClean();
  UpdateTitle();
  // The mode whose button is down shows its text again.
  ui_->SetStatusText(StatusPanel::State, layout_->ModeStatusText().toStdString());
}

void MainWindow::SaveAsCommand() {
  const QString file = ChooseFileToSave(this, "Save Project As", ProjectFilter);
  if (file.isEmpty()) return;
  if (!SaveProjectAs(project_, file.toStdString(), *ui_)) return;
  computation_->SaveProjectSettings();
  layout_->UndoStack()->setClean();
  UpdateTitle();
  ui_->SetStatusText(StatusPanel::State, layout_->ModeStatusText().toStdString());
}

}  // namespace lumetra::gui
