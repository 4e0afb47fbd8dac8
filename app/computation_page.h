// The "Computation" page: frequencies, excitation, loads, far field, environment,
// and the Compute and Abort buttons wired to the core's computation driver.
#pragma once

#include <QWidget>
#include <optional>

#include "app/batch_job.h"
#include "editor/shell_options.h"
#include "model/project.h"
#include "studies/computation_driver.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QUndoStack;

namespace lumetra::gui {

class CoordinateSystemWindow;
class FrequencyListWindow;
class PortResultsPanel;
class QtUserInterface;

class ComputationPage : public QWidget {
  Q_OBJECT
public:
  ComputationPage(Project& project, QtUserInterface& ui, ShellOptions& options, QWidget* parent);

  // What the page holds now, with the options of the menu.
  ComputationSettings Settings() const;
  // Shows the environment of the project (after New and Open).
  void ShowEnvironment();
  // The project's own computation settings onto the page (after New and Open):
  // those stored beside it, else the defaults, so nothing carries over from the
  // project open before. A damaged settings file is reported and the defaults used.
  void LoadProjectSettings();
  // Stores the page's settings beside the project (after Save and each run);
  // a write failure is reported.
  void SaveProjectSettings();

  // A batch job's parameters from the page (and the effective-permittivity
  // options), and back onto it.
  BatchJob CaptureJob() const;
  void RestoreJob(const BatchJob& job);
  // While the batch window is up, the page's own Compute and the frequency-list
  // choice stay disabled, also after a run; Compute() itself still runs.
  void SetStartLocked(bool locked);
  // Environment edits go onto the layout's undo stack (set once by the window).
  void SetUndoStack(QUndoStack* stack) { undo_ = stack; }

  // Runs a computation as the Compute button does; with calibrating, the time
  // estimate and the completion times are not shown.
  ComputationReport Compute(bool calibrating = false);
  bool Running() const { return running_; }
  // The permittivity (F/m) the last run of this session computed with, if any.
  std::optional<double> LastEpsEff() const { return lastEpsEff_; }
  void RequestAbort();

  FrequencyListWindow* FrequencyList() const { return frequencyList_; }
  // The port table of the last run.
  PortResultsPanel* PortResults() const { return portResults_; }

signals:
  // Around a run: the rest of the window must leave the project alone meanwhile.
  void RunStarted();
  void RunFinished();

private:
  QLineEdit* Field(const char* name, const QString& text);
  void UpdateListMode();
  void ApplySettings(const ComputationSettings& settings);
  void StoreEnvironment();
  Environment ShownEnvironment() const;
  void EnvironmentEdited();

  Project& project_;
  QtUserInterface& ui_;
  ShellOptions& options_;
  bool running_ = false;
  QUndoStack* undo_ = nullptr;
  bool startLocked_ = false;
  std::optional<double> lastEpsEff_;

  QRadioButton *singFreq_, *sweepFreq_, *excFile_, *incField_, *impFile_, *noLoad_;
  QRadioButton *rigSol_, *effEps_;
  QCheckBox *logSweep_, *freqListCB_, *farField_, *groundPlane_, *finiteConductivity_;
  QLineEdit *frequency_, *startFreq_, *stopFreq_, *stepFreq_;
  QLineEdit *incTheta_, *incPhi_, *incPol_;
  QLineEdit *thetaStart_, *thetaStop_, *thetaStep_, *phiStart_, *phiStop_, *phiStep_;
  QLineEdit *gpHeight_, *dielConst_, *conductivity_;
  QLabel *startLabel_, *stopLabel_, *stepLabel_;
  QPushButton *compute_, *abort_, *showCoord_;
  FrequencyListWindow* frequencyList_;
  CoordinateSystemWindow* coordinates_;
  PortResultsPanel* portResults_;
};

}  // namespace lumetra::gui
