#include "app/main_window.h"

#include <QScrollArea>

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QUndoStack>

#include "app/about_box.h"
#include "app/calibration.h"
#include "app/computation_page.h"
#include "app/help_viewer.h"
#include "app/kicad_import_dialog.h"
#include "app/new_project_dialog.h"
#include "app/project_details_dialog.h"
#include "app/qt_user_interface.h"
#include "app/solver_settings_dialogs.h"
#include "app/status_bar.h"
#include "app/study_window_support.h"
#include "app/user_settings.h"
#include "editor/help_link.h"
#include "editor/layout_page.h"
#include "editor/move_step_dialog.h"
#include "plots/current_plot_page.h"
#include "plots/frequency_dialog.h"
#include "plots/pattern_page.h"
#include "plots/vector_plot_page.h"
#include "model/batch_mode.h"
#include "model/project_commands.h"

namespace lumetra::gui {

MainWindow::MainWindow(const std::filesystem::path& startupDirectory) {
  setObjectName("MainWindow");
  setWindowTitle("Lumetra");
  options_.StartupDirectory = startupDirectory;
  statusBar_ = new MainStatusBar(this);
  setStatusBar(statusBar_);
  ui_ = std::make_unique<QtUserInterface>(statusBar_);

  BuildPages();
  // Every dialog is made once and keeps its entries between uses.
  newProjectDialog_ = new NewProjectDialog(*ui_, this);
  kicadImportDialog_ = new KicadImportDialog(*ui_, this);
  detailsDialog_ = new ProjectDetailsDialog(*ui_, this);
  moveStepDialog_ = new MoveStepDialog(*ui_, this);
  aboutBox_ = new AboutBox(this);
  help_ = new HelpViewer(this);
  calibrationDialog_ = new CalibrationDialog(this);
  calibrationResults_ = new CalibrationResults(this);
  integrationDialog_ = new IntegrationDialog(*ui_, this);
  permittivityDialog_ = new EffectivePermittivityDialog(*ui_, this);
  accuracyDialog_ = new AccuracyDialog(this);
  maxUnknownsDialog_ = new MaxUnknownsDialog(this);
  options_.MaxUnknowns = LoadMaxUnknowns(UserSettings());
  SetHelpHandler([this](int topic) { help_->ShowTopic(topic); });
  BuildMenus();
  BuildFieldCommands();

  // Until a project is open: no work area, no Utility and Options, no saving.
  utilityMenu_->setEnabled(false);
  optionsMenu_->setEnabled(false);
  ShowProjectCommands(false);
  pages_->setCurrentIndex(0);
  pages_->hide();
  qApp->installEventFilter(this);
  resize(1000, 700);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  SetHelpHandler(nullptr);
}

void MainWindow::BuildPages() {
  pages_ = new QTabWidget(this);
  pages_->setObjectName("Pages");
  layout_ = new LayoutPage(project_, *ui_, viewSettings_, pages_);
  computation_ = new ComputationPage(project_, *ui_, options_, pages_);
  computation_->SetUndoStack(layout_->UndoStack());
  pages_->addTab(layout_, "Trace geometry");
  // The page scrolls in a small window instead of setting the whole window's
  // minimum size (and so the layout page's), and grows with a large one.
  auto* computationScroll = new QScrollArea(pages_);
  computationScroll->setObjectName("ComputationScroll");
  computationScroll->setWidgetResizable(true);
  computationScroll->setFrameShape(QFrame::NoFrame);
  computationScroll->setWidget(computation_);
  pages_->addTab(computationScroll, "Computation");
  frequencyDialog_ = new FrequencyDialog(this);
  connect(frequencyDialog_, &FrequencyDialog::FrequencyChosen, this,
          [this](double f) { options_.RememberedFrequency = f; });
  currentPlot_ = new CurrentPlotPage(project_, *ui_, viewSettings_, options_.SelectedFrequency,
                                     *frequencyDialog_, pages_);
  layout_->SetPrinter(&printer_);
  currentPlot_->SetPrinter(&printer_);
  pages_->addTab(currentPlot_, "2D/3D current plot");
  vectorPlot_ = new VectorPlotPage(project_, *ui_, viewSettings_, options_.SelectedFrequency,
                                   *frequencyDialog_, pages_);
  pages_->addTab(vectorPlot_, "Vector current plot");
  pattern_ = new PatternPage([this] { return std::filesystem::path(project_.ProjectFile); }, *ui_,
                             options_, pages_);
  pattern_->SetPrinter(&printer_);
  pages_->addTab(pattern_, "Radiation pattern");
  setCentralWidget(pages_);
  connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::PageChanged);
  connect(computation_, &ComputationPage::RunStarted, this, [this] { SetRunning(true); });
  connect(computation_, &ComputationPage::RunFinished, this, [this] { SetRunning(false); });
}

QAction* MainWindow::Action(const QString& name) const {
  return findChild<QAction*>(name);
}

void MainWindow::ShowProjectCommands(bool shown) {
  for (const char* name : {"Save", "SaveAs", "Print", "PrintSetup"}) Action(name)->setVisible(shown);
  projectSeparator_->setVisible(shown);
}

void MainWindow::UpdateTitle() {
  if (!project_.IsOpen()) {
    setWindowTitle("Lumetra");
    return;
  }
  // "[*]" shows as the modified marker while the project has unsaved changes.
  const QString name = QFileInfo(QString::fromStdString(project_.ProjectFile)).fileName();
  setWindowTitle("Lumetra " + name + "[*]");
  setWindowModified(!project_.Saved);
}

bool MainWindow::ConfirmSave() {
  if (!ConfirmSaveChanges(project_, *ui_)) return false;
  // Answered Yes: the project on disk is the one in memory.
  if (project_.Saved) layout_->UndoStack()->setClean();
  return true;
}

void MainWindow::ProjectOpened() {
  // Another project: nothing of the last one can be undone into it.
  layout_->UndoStack()->clear();
  UpdateTitle();
  options_.InputPower = -1.0;
  utilityMenu_->setEnabled(true);
  optionsMenu_->setEnabled(true);
  ShowProjectCommands(true);
  pages_->show();
  pages_->setCurrentIndex(0);
  computation_->ShowEnvironment();
  computation_->LoadProjectSettings();
  // The result pages and lists start from the frequency chosen last in this project.
  frequencyDialog_->SetRemembered(options_.RememberedFrequency > 0.0
                                      ? std::optional<double>(options_.RememberedFrequency)
                                      : std::nullopt);
  layout_->ResetView();
  // A batch opens projects to compute them: it goes on with the Computation page.
  if (BatchMode) pages_->setCurrentIndex(1);
}

void MainWindow::PageChanged(int) {
  // Every page change stops the animation, drops the loaded currents and hides
  // the plot-selection window; the current pages then load theirs anew.
  currentPlot_->Leave();
  vectorPlot_->Leave();
  if (pages_->isVisible() && pages_->currentWidget() == currentPlot_) currentPlot_->Enter();
  if (pages_->isVisible() && pages_->currentWidget() == vectorPlot_) vectorPlot_->Enter();
  if (pages_->currentWidget() == pattern_ && pages_->isVisible()) pattern_->Enter();
  RedrawActivePage();
}

void MainWindow::RedrawActivePage() {
  if (pages_->currentWidget() == layout_) layout_->RedrawLayout();
  if (pages_->currentWidget() == currentPlot_) currentPlot_->Redraw();
  if (pages_->currentWidget() == vectorPlot_) vectorPlot_->Redraw();
  // The pattern is drawn anew only when a cut is chosen; else the grid stays.
  if (pages_->currentWidget() == pattern_ && options_.CutAngle > -1.0) pattern_->Redraw();
}

void MainWindow::SetRunning(bool running) {
  // While a computation pumps events, only its Abort button may act: the project
  // it computes must not change under it.
  menuBar()->setEnabled(!running);
  pages_->tabBar()->setEnabled(!running);
  layout_->setEnabled(!running);
  if (!running) RedrawActivePage();
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    // Hints go to panel 1 instead of replacing the whole status bar.
    Ui().SetStatusText(StatusPanel::Hint,
                       static_cast<QStatusTipEvent*>(event)->tip().toStdString());
    return true;
  }
  return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && pages_->isVisible() &&
      pages_->currentWidget() == layout_ && layout_->isEnabled() &&
      QApplication::activeModalWidget() == nullptr) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this) {
      // The keys move and zoom the layout; the page tabs must not take the arrows.
      if (layout_->HandleKey(static_cast<QKeyEvent*>(event)->key())) return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (computation_->Running() || StudyRunScope::AnyRunning()) {
    // Leaving in the middle of a computation, the Computation page's or a study
    // window's: stop it first, close afterwards. The study window runs inside this
    // window's event loop, so closing now would pull the window from under it.
    computation_->RequestAbort();
    event->ignore();
    return;
  }
  if (!ConfirmSaveChanges(project_, *ui_)) {
    event->ignore();
    return;
  }
  options_.CutAngle = -1.0;
  event->accept();
}

void MainWindow::RunUtility(void (MainWindow::*command)()) {
  (this->*command)();
  RedrawActivePage();
}

void MainWindow::ViewProjectFile() { detailsDialog_->Show(project_.ProjectFile); }

}  // namespace lumetra::gui
