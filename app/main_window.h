// The program's single main window: menus, the five pages, the status bar, and the
// commands that it forwards to the core. It owns the open project for the whole
// run of the program.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <memory>

#include "app/shell_options.h"
#include "editor/view_settings.h"
#include "model/project.h"

class QTabWidget;
class QMenu;

namespace lumetra::gui {

class AboutBox;
class CalibrationDialog;
class CalibrationResults;
class ComputationPage;
class EffectivePermittivityDialog;
class HelpViewer;
class IntegrationDialog;
class LayoutPage;
class MainStatusBar;
class MoveStepDialog;
class NewProjectDialog;
class ProjectDetailsDialog;
class QtUserInterface;

class MainWindow : public QMainWindow {
  Q_OBJECT
public:
  explicit MainWindow(const std::filesystem::path& startupDirectory);
  ~MainWindow() override;

  Project& CurrentProject() { return project_; }
  QtUserInterface& Ui() { return *ui_; }
  ShellOptions& Options() { return options_; }
  ViewSettings& View() { return viewSettings_; }
  MainStatusBar* Status() const { return statusBar_; }
  QTabWidget* Pages() const { return pages_; }
  LayoutPage* Layout() const { return layout_; }
  ComputationPage* Computation() const { return computation_; }
  HelpViewer* Help() const { return help_; }
  // A menu entry by its object name, e.g. "Save".
  QAction* Action(const QString& name) const;

  // The commands of the File menu.
  void NewProjectCommand();
  void OpenProjectCommand();
  // Opens the project file at path (the part of Open after the file dialog).
  bool OpenProjectFile(const QString& path);
  void SaveCommand();
  void SaveAsCommand();

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void BuildMenus();
  void BuildPages();
  void ProjectOpened();
  void ShowProjectCommands(bool shown);
  void PageChanged(int index);
  void RedrawActivePage();
  void SetRunning(bool running);
  void RunUtility(void (MainWindow::*command)());
  void ViewProjectFile();

  Project project_;
  ShellOptions options_;
  ViewSettings viewSettings_;
  QPrinter printer_;

  MainStatusBar* statusBar_;
  std::unique_ptr<QtUserInterface> ui_;
  QTabWidget* pages_;
  LayoutPage* layout_;
  ComputationPage* computation_;
  QMenu *fileMenu_, *utilityMenu_, *optionsMenu_, *helpMenu_;
  QAction* projectSeparator_;

  NewProjectDialog* newProjectDialog_;
  ProjectDetailsDialog* detailsDialog_;
  MoveStepDialog* moveStepDialog_;
  AboutBox* aboutBox_;
  HelpViewer* help_;
  CalibrationDialog* calibrationDialog_;
  CalibrationResults* calibrationResults_;
  IntegrationDialog* integrationDialog_;
  EffectivePermittivityDialog* permittivityDialog_;
};

}  // namespace lumetra::gui
