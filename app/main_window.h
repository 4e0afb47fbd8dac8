// The program's single main window: menus, the five pages, the status bar, and the
// commands that it forwards to the core. It owns the open project for the whole
// run of the program.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <memory>

#include "editor/shell_options.h"
#include "editor/view_settings.h"
#include "model/project.h"

class QTabWidget;
class QMenu;

namespace lumetra::gui {

class AboutBox;
class CalibrationDialog;
class CalibrationResults;
class ComputationPage;
class CurrentPlotPage;
class FrequencyDialog;
class VectorPlotPage;
class FarFieldDialog;
class NearFieldDialog;
class PatternPage;
class PlotUtilityWindow;
class ResultListWindow;
class EffectivePermittivityDialog;
class EmissionWindow;
class ImmunityWindow;
class NetworkWindow;
class HelpViewer;
class IntegrationDialog;
class KicadImportDialog;
class AccuracyDialog;
class MaxUnknownsDialog;
class LayoutPage;
class MainStatusBar;
class MoveStepDialog;
class NewProjectDialog;
class ProjectDetailsDialog;
class QtUserInterface;
class TBatchWindow;

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
  PatternPage* Pattern() const { return pattern_; }
  CurrentPlotPage* CurrentPlot() const { return currentPlot_; }
  VectorPlotPage* VectorPlot() const { return vectorPlot_; }
  // "Select frequency", shared by the plot pages and the result lists; the chosen
  // frequency is Options().SelectedFrequency.
  FrequencyDialog* FrequencyChoice() const { return frequencyDialog_; }
  FarFieldDialog* FarFieldParameters() const { return farFieldDialog_; }
  NearFieldDialog* NearFieldParameters() const { return nearFieldDialog_; }
  // The "Current list", "Far-field list" and "Near-field list" windows (0, 1, 2).
  ResultListWindow* ListWindow(int index) const { return listWindows_[index]; }
  // "Batch computation", made once and shown by the File menu.
  TBatchWindow* BatchWindow() const { return batchWindow_; }
  // "Plot utility", made once and shown by Utility, "Open plot window...".
  PlotUtilityWindow* PlotUtility() const { return plotUtility_; }
  // "Emission", made once and shown by Utility, "Emission...".
  EmissionWindow* Emission() const { return emissionWindow_; }
  // "Network parameters", made once and shown by Utility, "Network parameters...".
  NetworkWindow* Network() const { return networkWindow_; }
  // "Immunity", made once and shown by Utility, "Immunity...".
  ImmunityWindow* Immunity() const { return immunityWindow_; }
  // A menu entry by its object name, e.g. "Save".
  QAction* Action(const QString& name) const;

  // The commands of the File menu.
  void NewProjectCommand();
  void OpenProjectCommand();
  // Opens the project file at path (the part of Open after the file dialog).
  bool OpenProjectFile(const QString& path);
  void SaveCommand();
  void SaveAsCommand();
  // "Import KiCad board...": the nets of a board as a new project, opened at once.
  void ImportKicadCommand();
  KicadImportDialog* ImportDialog() const { return kicadImportDialog_; }

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void BuildMenus();
  void BuildEditMenu();
  void BuildPages();
  // "Lumetra name.PRO" with the modified marker while the project is unsaved.
  void UpdateTitle();
  // The save question before New and Open; a save there marks the undo stack clean.
  bool ConfirmSave();
  // Ctrl+P: the print command of the page shown.
  void PrintActivePage();
  void ProjectOpened();
  void ShowProjectCommands(bool shown);
  void PageChanged(int index);
  void RedrawActivePage();
  void SetRunning(bool running);
  void RunUtility(void (MainWindow::*command)());
  void ViewProjectFile();
  void BuildFieldCommands();
  void ShowListWindow(int index);

  Project project_;
  ShellOptions options_;
  ViewSettings viewSettings_;
  QPrinter printer_;

  MainStatusBar* statusBar_;
  std::unique_ptr<QtUserInterface> ui_;
  QTabWidget* pages_;
  LayoutPage* layout_;
  ComputationPage* computation_;
  PatternPage* pattern_;
  CurrentPlotPage* currentPlot_;
  VectorPlotPage* vectorPlot_;
  FrequencyDialog* frequencyDialog_;
  QMenu *fileMenu_, *editMenu_, *utilityMenu_, *optionsMenu_, *helpMenu_;
  QAction* projectSeparator_;

  NewProjectDialog* newProjectDialog_;
  KicadImportDialog* kicadImportDialog_;
  ProjectDetailsDialog* detailsDialog_;
  MoveStepDialog* moveStepDialog_;
  AboutBox* aboutBox_;
  HelpViewer* help_;
  CalibrationDialog* calibrationDialog_;
  CalibrationResults* calibrationResults_;
  IntegrationDialog* integrationDialog_;
  EffectivePermittivityDialog* permittivityDialog_;
  AccuracyDialog* accuracyDialog_;
  MaxUnknownsDialog* maxUnknownsDialog_;
  FarFieldDialog* farFieldDialog_;
  NearFieldDialog* nearFieldDialog_;
  ResultListWindow* listWindows_[3];
  PlotUtilityWindow* plotUtility_;
  TBatchWindow* batchWindow_;
  EmissionWindow* emissionWindow_;
  NetworkWindow* networkWindow_;
  ImmunityWindow* immunityWindow_;
};

}  // namespace lumetra::gui
