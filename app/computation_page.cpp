#include "app/computation_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include "app/coordinate_system_window.h"
#include "app/frequency_list_window.h"
#include "app/port_results_panel.h"
#include "app/qt_user_interface.h"
#include "editor/window_placement.h"
#include "editor/layout_commands.h"
#include "model/file_io.h"
#include "solver/computation_control.h"
#include "studies/computation_settings_file.h"

namespace lumetra::gui {

namespace {

QRadioButton* Radio(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QRadioButton(caption, parent);
  button->setObjectName(name);
  return button;
}

QCheckBox* Check(const char* name, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

QLineEdit* ComputationPage::Field(const char* name, const QString& text) {
  auto* edit = new QLineEdit(text, this);
  edit->setObjectName(name);
  edit->setMaximumWidth(90);
  return edit;
}

ComputationPage::ComputationPage(Project& project, QtUserInterface& ui, ShellOptions& options,
                                 QWidget* parent)
    : QWidget(parent), project_(project), ui_(ui), options_(options) {
  setObjectName("ComputationPage");
  const ComputationSettings defaults;

  // Frequencies.
  auto* frequencies = new QGroupBox("Frequency", this);
  auto* fl = new QGridLayout(frequencies);
  singFreq_ = Radio("SingFreq", "Single frequency", frequencies);
  sweepFreq_ = Radio("SweepFreq", "Frequency sweep", frequencies);
  frequency_ = Field("Frequency", QString::fromStdString(defaults.Frequency));
  startFreq_ = Field("StartFreq", QString::fromStdString(defaults.StartFreq));
  stopFreq_ = Field("StopFreq", QString::fromStdString(defaults.StopFreq));
  stepFreq_ = Field("StepFreq", QString::fromStdString(defaults.StepFreq));
  startLabel_ = new QLabel("Start [MHz]", frequencies);
  stopLabel_ = new QLabel("Stop [MHz]", frequencies);
  stepLabel_ = new QLabel("Step [MHz] / factor", frequencies);
  logSweep_ = Check("LogSweep", "Logarithmic sweep", frequencies);
  freqListCB_ = Check("FreqListCB", "Frequency list", frequencies);
  fl->addWidget(singFreq_, 0, 0);
  fl->addWidget(new QLabel("Frequency [MHz]", frequencies), 0, 1);
  fl->addWidget(frequency_, 0, 2);
  fl->addWidget(sweepFreq_, 1, 0);
  fl->addWidget(startLabel_, 1, 1);
  fl->addWidget(startFreq_, 1, 2);
  fl->addWidget(stopLabel_, 2, 1);
  fl->addWidget(stopFreq_, 2, 2);
  fl->addWidget(stepLabel_, 3, 1);
  fl->addWidget(stepFreq_, 3, 2);
  fl->addWidget(logSweep_, 4, 1, 1, 2);
  fl->addWidget(freqListCB_, 5, 1, 1, 2);
  singFreq_->setChecked(true);

  // Excitation and loads.
  auto* excitation = new QGroupBox("Excitation", this);
  auto* el = new QGridLayout(excitation);
  excFile_ = Radio("ExcFile", "Voltage sources", excitation);
  incField_ = Radio("IncField", "Incident field", excitation);
  incTheta_ = Field("IncTheta", QString::fromStdString(defaults.IncTheta));
  incPhi_ = Field("IncPhi", QString::fromStdString(defaults.IncPhi));
  incPol_ = Field("IncPol", QString::fromStdString(defaults.IncPol));
  el->addWidget(excFile_, 0, 0, 1, 2);
  el->addWidget(incField_, 1, 0, 1, 2);
  el->addWidget(new QLabel("Theta [deg]", excitation), 2, 0);
  el->addWidget(incTheta_, 2, 1);
  el->addWidget(new QLabel("Phi [deg]", excitation), 3, 0);
  el->addWidget(incPhi_, 3, 1);
  el->addWidget(new QLabel("Polarisation [deg]", excitation), 4, 0);
  el->addWidget(incPol_, 4, 1);
  excFile_->setChecked(true);
  auto* loads = new QGroupBox("Impedances", this);
  auto* ll = new QVBoxLayout(loads);
  impFile_ = Radio("ImpFile", "Use impedance elements", loads);
  noLoad_ = Radio("NoLoad", "No impedances", loads);
  ll->addWidget(impFile_);
  ll->addWidget(noLoad_);
  impFile_->setChecked(true);

  // Far field.
  auto* far = new QGroupBox("Far field", this);
  auto* ffl = new QGridLayout(far);
  farField_ = Check("FarField", "Compute far-field", far);
  thetaStart_ = Field("ThetaStart", QString::fromStdString(defaults.ThetaStart));
  thetaStop_ = Field("ThetaStop", QString::fromStdString(defaults.ThetaStop));
  thetaStep_ = Field("ThetaStep", QString::fromStdString(defaults.ThetaStep));
  phiStart_ = Field("PhiStart", QString::fromStdString(defaults.PhiStart));
  phiStop_ = Field("PhiStop", QString::fromStdString(defaults.PhiStop));
  phiStep_ = Field("PhiStep", QString::fromStdString(defaults.PhiStep));
  // One row per angle under a start / stop / step heading, kept together at the
  // top of the box however tall its neighbours make it.
  ffl->addWidget(farField_, 0, 0, 1, 4);
  const char* headings[] = {"Start", "Stop", "Step"};
  for (int c = 0; c < 3; ++c) ffl->addWidget(new QLabel(headings[c], far), 1, c + 1);
  ffl->addWidget(new QLabel("Theta [deg]", far), 2, 0);
  ffl->addWidget(thetaStart_, 2, 1);
  ffl->addWidget(thetaStop_, 2, 2);
  ffl->addWidget(thetaStep_, 2, 3);
  ffl->addWidget(new QLabel("Phi [deg]", far), 3, 0);
  ffl->addWidget(phiStart_, 3, 1);
  ffl->addWidget(phiStop_, 3, 2);
  ffl->addWidget(phiStep_, 3, 3);


  // Environment, stored with the project.
  auto* environment = new QGroupBox("Environment", this);
  auto* vl = new QGridLayout(environment);
  groundPlane_ = Check("GroundPlane", "Ground plane", environment);
  gpHeight_ = Field("GPHeight", "2");
  dielConst_ = Field("DielConst", "1");
  rigSol_ = Radio("RigSol", "Rigorous sol.", environment);
  effEps_ = Radio("EffEps", "Effective Eps.", environment);
  finiteConductivity_ = Check("FiniteConductivity", "Finite resistivity", environment);
  conductivity_ = Field("Conductivity", "0");
  vl->addWidget(groundPlane_, 0, 0, 1, 2);
  vl->addWidget(new QLabel("Dist. [mm]", environment), 1, 0);
  vl->addWidget(gpHeight_, 1, 1);
  vl->addWidget(new QLabel("Diel. const.", environment), 2, 0);
  vl->addWidget(dielConst_, 2, 1);
  vl->addWidget(rigSol_, 3, 0);
  vl->addWidget(effEps_, 3, 1);
  vl->addWidget(finiteConductivity_, 4, 0, 1, 2);
  vl->addWidget(new QLabel("Resistivity [Ohm]", environment), 5, 0);
  vl->addWidget(conductivity_, 5, 1);
  rigSol_->setChecked(true);

  compute_ = new QPushButton("Compute", this);
  compute_->setObjectName("Compute");
  abort_ = new QPushButton("Abort computation", this);
  abort_->setObjectName("Abort");
  abort_->hide();
  showCoord_ = new QPushButton("Show coord. sys.", this);
  showCoord_->setObjectName("ShowCoord");

  auto* grid = new QGridLayout(this);
  grid->addWidget(frequencies, 0, 0);
  grid->addWidget(excitation, 0, 1);
  // The loads sit under the far field so that both columns are about as tall.
  auto* left = new QVBoxLayout;
  left->addWidget(far);
  left->addWidget(loads);
  grid->addLayout(left, 1, 0);
  grid->addWidget(environment, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(compute_);
  buttons->addWidget(abort_);
  buttons->addStretch();
  buttons->addWidget(showCoord_);
  grid->addLayout(buttons, 2, 0, 1, 2);
  // The port results take the room below the parameters, as wide as they are, so
  // that every column of the table reads without scrolling sideways.
  portResults_ = new PortResultsPanel(ui_, this);
  portResults_->setMinimumHeight(140);
  grid->addWidget(portResults_, 3, 0, 1, 2);
  grid->setRowStretch(3, 1);

  frequencyList_ = new FrequencyListWindow(ui_, this);
  coordinates_ = new CoordinateSystemWindow(this);

  connect(freqListCB_, &QCheckBox::toggled, this, [this] { UpdateListMode(); });
  connect(compute_, &QPushButton::clicked, this, [this] { Compute(); });
  connect(abort_, &QPushButton::clicked, this, &ComputationPage::RequestAbort);
  connect(showCoord_, &QPushButton::clicked, this, [this] {
    ShowCentredOnOwner(coordinates_);
  });
  // What the user changes in the environment is an edit of the project, undoable
  // like a layout edit; values put there by the program (a project opening, a
  // batch job) are stored as they are.
  for (QCheckBox* box : {groundPlane_, finiteConductivity_})
    connect(box, &QCheckBox::clicked, this, [this] { EnvironmentEdited(); });
  for (QLineEdit* edit : {gpHeight_, dielConst_, conductivity_})
    connect(edit, &QLineEdit::textEdited, this, [this] { EnvironmentEdited(); });
}

void ComputationPage::UpdateListMode() {
  const bool list = freqListCB_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{startFreq_, stopFreq_, stepFreq_, logSweep_,
                                                    startLabel_, stopLabel_, stepLabel_})
    w->setEnabled(!list);
  frequencyList_->setVisible(list);
}

void ComputationPage::ShowEnvironment() {
  const Environment env = project_.Env;  // the controls write back as they change
  groundPlane_->setChecked(env.GroundPlane);
  gpHeight_->setText(QString::fromStdString(env.GPHeight));
  finiteConductivity_->setChecked(env.FiniteConductivity);
  conductivity_->setText(QString::fromStdString(env.Conductivity));
  dielConst_->setText(QString::fromStdString(env.DielConst));
  StoreEnvironment();
}

void ComputationPage::ApplySettings(const ComputationSettings& s) {
  const auto text = [](QLineEdit* edit, const std::string& value) {
    edit->setText(QString::fromStdString(value));
  };
  (s.SweepFreq ? sweepFreq_ : singFreq_)->setChecked(true);
  text(frequency_, s.Frequency);
  text(startFreq_, s.StartFreq);
  text(stopFreq_, s.StopFreq);
  text(stepFreq_, s.StepFreq);
  logSweep_->setChecked(s.LogSweep);
  frequencyList_->SetLines(s.FrequencyList);
  // The list choice is locked while the batch window is up; a project's stored
  // choice does not change that.
  if (!startLocked_) freqListCB_->setChecked(s.FreqListCB);
  (s.IncField ? incField_ : excFile_)->setChecked(true);
  text(incTheta_, s.IncTheta);
  text(incPhi_, s.IncPhi);
  text(incPol_, s.IncPol);
  (s.ImpFile ? impFile_ : noLoad_)->setChecked(true);
  farField_->setChecked(s.FarField);
  text(thetaStart_, s.ThetaStart);
  text(thetaStop_, s.ThetaStop);
  text(thetaStep_, s.ThetaStep);
  text(phiStart_, s.PhiStart);
  text(phiStop_, s.PhiStop);
  text(phiStep_, s.PhiStep);
  (s.RigSol ? rigSol_ : effEps_)->setChecked(true);
  options_.EffectivePermittivity = s.EffectivePermittivity;
  options_.Accuracy = s.Accuracy;
  UpdateListMode();
}

void ComputationPage::LoadProjectSettings() {
  StoredComputationSettings stored;
  if (project_.IsOpen()) {
    try {
      if (auto loaded = LoadComputationSettings(project_.ProjectFile)) stored = std::move(*loaded);
    } catch (const FileError& error) {
      ui_.ShowMessage(error.what());
    }
  }
  ApplySettings(stored.Page);
  options_.RememberedFrequency = stored.SelectedFrequency;
}

void ComputationPage::SaveProjectSettings() {
  if (!project_.IsOpen()) return;
  StoredComputationSettings stored;
  stored.Page = Settings();
  stored.SelectedFrequency = options_.RememberedFrequency;
  try {
    SaveComputationSettings(project_.ProjectFile, stored);
  } catch (const FileError& error) {
    ui_.ShowMessage(error.what());
  }
}

Environment ComputationPage::ShownEnvironment() const {
  Environment env;
  env.GroundPlane = groundPlane_->isChecked();
  env.GPHeight = gpHeight_->text().toStdString();
  env.FiniteConductivity = finiteConductivity_->isChecked();
  env.Conductivity = conductivity_->text().toStdString();
  env.DielConst = dielConst_->text().toStdString();
  return env;
}

void ComputationPage::StoreEnvironment() { project_.Env = ShownEnvironment(); }

void ComputationPage::EnvironmentEdited() {
  const Environment shown = ShownEnvironment();
  if (shown == project_.Env) return;
  if (!undo_) {
    project_.Env = shown;
    return;
  }
  undo_->push(new EnvironmentCommand(project_, shown, [this] { ShowEnvironment(); }));
}

ComputationSettings ComputationPage::Settings() const {
  ComputationSettings s;
  s.SweepFreq = sweepFreq_->isChecked();
  s.Frequency = frequency_->text().toStdString();
  s.StartFreq = startFreq_->text().toStdString();
  s.StopFreq = stopFreq_->text().toStdString();
  s.StepFreq = stepFreq_->text().toStdString();
  s.LogSweep = logSweep_->isChecked();
  s.FreqListCB = freqListCB_->isChecked();
  s.FrequencyList = frequencyList_->Lines();
  s.IncField = incField_->isChecked();
  s.IncTheta = incTheta_->text().toStdString();
  s.IncPhi = incPhi_->text().toStdString();
  s.IncPol = incPol_->text().toStdString();
  s.ImpFile = impFile_->isChecked();
  s.FarField = farField_->isChecked();
  s.ThetaStart = thetaStart_->text().toStdString();
  s.ThetaStop = thetaStop_->text().toStdString();
  s.ThetaStep = thetaStep_->text().toStdString();
  s.PhiStart = phiStart_->text().toStdString();
  s.PhiStop = phiStop_->text().toStdString();
  s.PhiStep = phiStep_->text().toStdString();
  s.RigSol = rigSol_->isChecked();
  s.Integration = options_.Integration;
  s.EffectivePermittivity = options_.EffectivePermittivity;
  s.Accuracy = options_.Accuracy;
  s.CompSound = options_.CompSound;
  s.ShowCompTime = options_.ShowCompTime;
  s.ShowTimeEstimate = options_.ShowTimeEstimate;
  s.MaxUnknowns = options_.MaxUnknowns;
  return s;
}

void ComputationPage::RequestAbort() { ui_.RequestAbort(); }

BatchJob ComputationPage::CaptureJob() const {
  BatchJob job;
  job.SingleFrequency = singFreq_->isChecked();
  job.Frequency = (job.SingleFrequency ? frequency_ : startFreq_)->text().toStdString();
  job.StopFreq = stopFreq_->text().toStdString();
  job.StepFreq = stepFreq_->text().toStdString();
  job.LinearSweep = !logSweep_->isChecked();
  job.VoltageSources = excFile_->isChecked();
  job.IncTheta = incTheta_->text().toStdString();
  job.IncPhi = incPhi_->text().toStdString();
  job.IncPol = incPol_->text().toStdString();
  job.ImpedanceLoading = impFile_->isChecked();
  job.GroundPlane = groundPlane_->isChecked();
  job.GPHeight = gpHeight_->text().toStdString();
  job.FiniteConductivity = finiteConductivity_->isChecked();
  job.Conductivity = conductivity_->text().toStdString();
  job.FarField = farField_->isChecked();
  job.ThetaStart = thetaStart_->text().toStdString();
  job.ThetaStop = thetaStop_->text().toStdString();
  job.ThetaStep = thetaStep_->text().toStdString();
  job.PhiStart = phiStart_->text().toStdString();
  job.PhiStop = phiStop_->text().toStdString();
  job.PhiStep = phiStep_->text().toStdString();
  job.RigSol = rigSol_->isChecked();
  job.EffectivePermittivity = options_.EffectivePermittivity;
  return job;
}

void ComputationPage::RestoreJob(const BatchJob& job) {
  const auto text = [](QLineEdit* edit, const std::string& value) {
    edit->setText(QString::fromStdString(value));
  };
  (job.SingleFrequency ? singFreq_ : sweepFreq_)->setChecked(true);
  text(job.SingleFrequency ? frequency_ : startFreq_, job.Frequency);
  text(stopFreq_, job.StopFreq);
  text(stepFreq_, job.StepFreq);
  logSweep_->setChecked(!job.LinearSweep);
  (job.VoltageSources ? excFile_ : incField_)->setChecked(true);
  text(incTheta_, job.IncTheta);
  text(incPhi_, job.IncPhi);
  text(incPol_, job.IncPol);
  (job.ImpedanceLoading ? impFile_ : noLoad_)->setChecked(true);
  groundPlane_->setChecked(job.GroundPlane);
  text(gpHeight_, job.GPHeight);
  finiteConductivity_->setChecked(job.FiniteConductivity);
  text(conductivity_, job.Conductivity);
  farField_->setChecked(job.FarField);
  text(thetaStart_, job.ThetaStart);
  text(thetaStop_, job.ThetaStop);
  text(thetaStep_, job.ThetaStep);
  text(phiStart_, job.PhiStart);
  text(phiStop_, job.PhiStop);
  text(phiStep_, job.PhiStep);
  (job.RigSol ? rigSol_ : effEps_)->setChecked(true);
  options_.EffectivePermittivity = job.EffectivePermittivity;
  StoreEnvironment();  // the ground plane and resistivity are the project's
}

void ComputationPage::SetStartLocked(bool locked) {
  startLocked_ = locked;
  compute_->setEnabled(!locked && !running_);
  freqListCB_->setEnabled(!locked);
}

ComputationReport ComputationPage::Compute(bool calibrating) {
  if (running_) return {};
  StoreEnvironment();
  ComputationSettings settings = Settings();
  if (calibrating) settings.ShowTimeEstimate = settings.ShowCompTime = false;
  RunEnvironment environment;
  environment.WorkDirectory = std::filesystem::current_path();
  environment.StartupDirectory = options_.StartupDirectory;

  // Validation comes first: a refused run never shows Abort or disables the tabs,
  // and the first refused field gets the focus back.
  running_ = true;
  ui_.ClearAbort();
  bool shownRunning = false;
  const auto enterRunningState = [&] {
    shownRunning = true;
    compute_->setEnabled(false);
    showCoord_->setEnabled(false);
    abort_->show();
    frequencyList_->SetLocked(true);
    emit RunStarted();
  };
  ComputationControl control(ui_);
  ComputationReport report;
  try {
    report = RunComputation(project_, settings, environment, control, enterRunningState);
  } catch (const FileError& error) {
    // The run ends where the file failed; the window must come back to life.
    report.Aborted = true;
    ui_.ShowMessage(error.what());
  }
  frequencyList_->SetLocked(false);
  abort_->hide();
  compute_->setEnabled(!startLocked_);
  showCoord_->setEnabled(true);
  running_ = false;
  if (!report.Started && !report.RefusedField.empty()) {
    if (auto* field = findChild<QLineEdit*>(QString::fromStdString(report.RefusedField))) {
      if (!field->isEnabled()) field = nullptr;
      if (field) {
        field->setFocus();
        field->selectAll();
      }
    }
  }
  if (report.Started) {
    options_.InputPower = report.InputPower;
    // The project reopens with the settings it was last computed with.
    SaveProjectSettings();
  }
  if (report.Started && !report.Points.empty()) lastEpsEff_ = report.Points.back().EpsEff;
  if (report.Started) portResults_->Show(report.Points);
  if (shownRunning) emit RunFinished();
  return report;
}

}  // namespace lumetra::gui
