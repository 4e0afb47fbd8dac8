// The menu bar of the main window: every entry with its hint and its command.
#include <QAbstractButton>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QUndoStack>

#include "app/about_box.h"
#include "app/batch_window.h"
#include "app/computation_page.h"
#include "app/calibration.h"
#include "app/emission_window.h"
#include "app/immunity_window.h"
#include "app/network_window.h"
#include "app/external_program.h"
#include "app/help_viewer.h"
#include "app/main_window.h"
#include "app/qt_user_interface.h"
#include "app/solver_settings_dialogs.h"
#include "app/user_settings.h"
#include "editor/hints.h"
#include "editor/layout_page.h"
#include "editor/move_step_dialog.h"
#include "plots/current_plot_page.h"
#include "plots/pattern_page.h"
#include "plots/plot_utility_window.h"

namespace lumetra::gui {

namespace {

QAction* Entry(QMenu* menu, const char* name, const QString& caption, const QString& hint) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  SetHint(action, hint);
  return action;
}

QAction* Toggle(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                bool& option) {
  QAction* action = Entry(menu, name, caption, hint);
  action->setCheckable(true);
  action->setChecked(option);
  QObject::connect(action, &QAction::toggled, menu, [&option](bool on) { option = on; });
  return action;
}

}  // namespace

void MainWindow::BuildMenus() {
  fileMenu_ = menuBar()->addMenu("&File");
  QAction* newProject = Entry(fileMenu_, "NewProject", "&New Project...", "Create a new project");
  newProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(newProject, &QAction::triggered, this, &MainWindow::NewProjectCommand);
  QAction* open = Entry(fileMenu_, "OpenProject", "&Open Project...", "Open an existing project");
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(open, &QAction::triggered, this, &MainWindow::OpenProjectCommand);
  connect(Entry(fileMenu_, "ImportKicad", "&Import KiCad board...",
                "Import nets of a KiCad board file as a new project"),
          &QAction::triggered, this, &MainWindow::ImportKicadCommand);
  batchWindow_ = new TBatchWindow(*this);
  connect(Entry(fileMenu_, "BatchComputation", "&Batch computation...",
                "Define files and parameters for a batch computation"),
          &QAction::triggered, batchWindow_, &TBatchWindow::Open);
  QAction* save = Entry(fileMenu_, "Save", "&Save", "Save project file and associated component files");
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(save, &QAction::triggered, this, &MainWindow::SaveCommand);
  QAction* saveAs = Entry(fileMenu_, "SaveAs", "Save &As...",
                          "Save project file and associated component files under a new name");
  saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  connect(saveAs, &QAction::triggered, this, &MainWindow::SaveAsCommand);
  QAction* print = Entry(fileMenu_, "Print", "&Print...", "Print the page shown");
  print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(print, &QAction::triggered, this, &MainWindow::PrintActivePage);
  connect(Entry(fileMenu_, "PrintSetup", "P&rint Setup...", "Change printer setup"),
          &QAction::triggered, this, [this] {
            QPageSetupDialog(&printer_, this).exec();
            RedrawActivePage();
          });
  projectSeparator_ = fileMenu_->addSeparator();
  QAction* exit = Entry(fileMenu_, "Exit", "E&xit", "Exit Lumetra");
  exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(exit, &QAction::triggered, this, [this] {
    options_.CutAngle = -1.0;
    close();
  });

  BuildEditMenu();

  utilityMenu_ = menuBar()->addMenu("&Utility");
  const auto later = [this](const char* name, const QString& caption, const QString& hint) {
    // Filled by the result-list, field and plot parts of the program.
    Entry(utilityMenu_, name, caption, hint)->setEnabled(false);
  };
  later("ListCurrents", "List &currents...", "List the current files of the project");
  later("ListNearField", "List ne&ar-field...", "List the near-field file of the project");
  later("ListFarField", "List fa&r-field...", "List the far-field file of the project");
  connect(Entry(utilityMenu_, "ViewProjectFile", "&View project file...", "View the project file"),
          &QAction::triggered, this, [this] { RunUtility(&MainWindow::ViewProjectFile); });
  later("ComputeFarField", "Compute &far-field...",
        "Compute far-field outgoing from the current files of the project");
  later("ComputeNearField", "Compute &near-field...",
        "Compute near-field outgoing from the current files of the project");
  connect(Entry(utilityMenu_, "ExtractCurrent", "&Extract current in element...",
                "Save current as a function of frequency in file"),
          &QAction::triggered, this, [this] { LaunchQuillet(*ui_); });
  plotUtility_ = new PlotUtilityWindow(*ui_, this);
  plotUtility_->SetPrinter(&printer_);
  connect(Entry(utilityMenu_, "OpenPlotWindow", "Open &plot window...",
                "Open plot utility for plotting e.g. current density"),
          &QAction::triggered, plotUtility_, &PlotUtilityWindow::Activate);
  emissionWindow_ = new EmissionWindow(*this);
  connect(emissionWindow_, &EmissionWindow::RunStarted, this, [this] { SetRunning(true); });
  connect(emissionWindow_, &EmissionWindow::RunFinished, this, [this] { SetRunning(false); });
  connect(Entry(utilityMenu_, "Emission", "E&mission...",
                "Predict the radiated emission at a test site and compare it with a limit"),
          &QAction::triggered, emissionWindow_, &EmissionWindow::Open);
  networkWindow_ = new NetworkWindow(*this);
  connect(networkWindow_, &NetworkWindow::RunStarted, this, [this] { SetRunning(true); });
  connect(networkWindow_, &NetworkWindow::RunFinished, this, [this] { SetRunning(false); });
  connect(Entry(utilityMenu_, "NetworkParameters", "&Network parameters...",
                "Treat the voltage sources as ports: S, Z and Y over frequency, Touchstone files"),
          &QAction::triggered, networkWindow_, &NetworkWindow::Open);
  immunityWindow_ = new ImmunityWindow(*this);
  connect(immunityWindow_, &ImmunityWindow::RunStarted, this, [this] { SetRunning(true); });
  connect(immunityWindow_, &ImmunityWindow::RunFinished, this, [this] { SetRunning(false); });
  connect(Entry(utilityMenu_, "Immunity", "&Immunity...",
                "Find the largest voltage a radiated test field puts across each load, from the worst direction"),
          &QAction::triggered, immunityWindow_, &ImmunityWindow::Open);

  optionsMenu_ = menuBar()->addMenu("&Options");
  connect(Entry(optionsMenu_, "SetMoveStep", "Set step size for plot move and zoom scale factor",
                "Set how much plot should move and zoom (for trace layout and vector plot)"),
          &QAction::triggered, this, [this] {
            moveStepDialog_->Edit(viewSettings_);
            RedrawActivePage();
          });
  Toggle(optionsMenu_, "CompSound", "Sound after completed computation",
         "Turns on/off beep after computation", options_.CompSound);
  Toggle(optionsMenu_, "ShowCompTime", "Show computation time after completed computation",
         "Turns on/off total computation time message after a computation",
         options_.ShowCompTime);
  Toggle(optionsMenu_, "ShowTimeEstimate", "Show time estimate before computation",
         "Turns on/off time estimate before a computation", options_.ShowTimeEstimate);
  connect(Entry(optionsMenu_, "CalibrateTimeEstimate", "Calibrate time estimate constants",
                "Calibrates constants needed for time estimates"),
          &QAction::triggered, this, [this] {
            CalibrateTimeEstimate(*calibrationDialog_, *calibrationResults_, *computation_,
                                  options_, *ui_);
            // The check marks show the options as they are again.
            Action("ShowTimeEstimate")->setChecked(options_.ShowTimeEstimate);
            Action("ShowCompTime")->setChecked(options_.ShowCompTime);
          });
  connect(Entry(optionsMenu_, "SetIntegrationParam",
                "Set accuracy for integration in spectral domain",
                "Specifies the parameters for integration in spectral domain used for dielectrics"),
          &QAction::triggered, this, [this] { integrationDialog_->Edit(options_.Integration); });
  connect(Entry(optionsMenu_, "SetEffPermittivity", "Set options for effective permittivity",
                "Specifies which approximation to use for effective permittivity"),
          &QAction::triggered, this,
          [this] { permittivityDialog_->Edit(options_.EffectivePermittivity); });
  connect(Entry(optionsMenu_, "SetAccuracy", "Set solver accuracy",
                "Standard model, or High accuracy for ground points and dielectric layouts"),
          &QAction::triggered, this, [this] { accuracyDialog_->Edit(options_.Accuracy); });
  connect(Entry(optionsMenu_, "SetMaxUnknowns", "Set maximum number of unknowns",
                "Lifts the limit of 2000 unknowns as far as this machine's memory allows"),
          &QAction::triggered, this, [this] {
            if (!maxUnknownsDialog_->Edit(options_.MaxUnknowns)) return;
            QSettings settings = UserSettings();
            StoreMaxUnknowns(settings, options_.MaxUnknowns);
          });

  helpMenu_ = menuBar()->addMenu("&Help");
  QAction* contents = Entry(helpMenu_, "HelpContents", "&Contents", "Display the help contents screen");
  contents->setShortcut(QKeySequence(Qt::Key_F1));
  connect(contents, &QAction::triggered, this, [this] { help_->ShowContents(); });
  connect(Entry(helpMenu_, "HelpSearch", "&Search for Help On...", "Search help file for a topic"),
          &QAction::triggered, this, [this] { help_->ShowSearch(QString()); });
  connect(Entry(helpMenu_, "HelpOnHelp", "&How to Use Help", "Help on using the help system"),
          &QAction::triggered, this, [this] { help_->ShowHelpOnHelp(); });
  connect(Entry(helpMenu_, "About", "&About...", "Show program information"),
          &QAction::triggered, this, [this] {
            aboutBox_->ShowMaxUnknowns(options_.MaxUnknowns);
            aboutBox_->exec();
          });
}

void MainWindow::BuildEditMenu() {
  // Undo and Redo of every change of the layout and of the grid settings; the
  // entries name the change they would undo or redo.
  editMenu_ = menuBar()->addMenu("&Edit");
  QUndoStack* stack = layout_->UndoStack();
  QAction* undo = Entry(editMenu_, "Undo", "&Undo", "Undo the last change of the project");
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = Entry(editMenu_, "Redo", "&Redo", "Redo the change undone last");
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                      QKeySequence(Qt::CTRL | Qt::Key_Y)});
  undo->setEnabled(false);
  redo->setEnabled(false);
  connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
  connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
  connect(stack, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
    undo->setText(text.isEmpty() ? QString("&Undo") : "&Undo " + text);
  });
  connect(stack, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
    redo->setText(text.isEmpty() ? QString("&Redo") : "&Redo " + text);
  });
  // A running computation owns the project until it ends.
  connect(undo, &QAction::triggered, this, [this, stack] {
    if (!computation_->Running()) stack->undo();
  });
  connect(redo, &QAction::triggered, this, [this, stack] {
    if (!computation_->Running()) stack->redo();
  });
  // The page has already tied Saved to the clean state when these arrive.
  connect(stack, &QUndoStack::cleanChanged, this, &MainWindow::UpdateTitle);
  connect(stack, &QUndoStack::indexChanged, this, &MainWindow::UpdateTitle);
}

void MainWindow::PrintActivePage() {
  QWidget* page = pages_->currentWidget();
  if (!pages_->isVisible() || computation_->Running()) return;
  if (page == layout_) layout_->Print();
  else if (page == pattern_) pattern_->Print();
  else if (page == currentPlot_) {
    // The print button of the view shown, 3D or 2D.
    for (const char* name : {"SpeedPrint3D", "SpeedPrint2D"})
      if (auto* button = currentPlot_->findChild<QAbstractButton*>(name);
          button && button->isVisible() && button->isEnabled()) {
        button->click();
        break;
      }
  }
}

}  // namespace lumetra::gui
