#include "app/calibration.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/computation_page.h"
#include "editor/help_link.h"
#include "model/file_io.h"
#include "studies/time_estimate.h"

namespace lumetra::gui {

namespace {
// The help page that explains the calibration together with the Computation page.
constexpr int CalibrationHelpTopic = 0;
}  // namespace

CalibrationDialog::CalibrationDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Calibration of constants for time estimates");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  for (const char* line :
       {"To perform the calibration you should have a project",
        "with currents in both x- and y-directions loaded.",
        "Neither ground plane nor far-fields should be defined.",
        "Excitation should be either sources or an incident field,",
        "single frequency mode should be used.",
        "The total number of unknowns should be as close as",
        "possible to the number of unknowns most often used,",
        "a minimum of 50 unknowns is recommended."})
    layout->addWidget(new QLabel(line, this));
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* calibrate = buttons->addButton("Calibrate", QDialogButtonBox::AcceptRole);
  calibrate->setObjectName("CalibrateBtn");
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName("CancelBtn");
  QPushButton* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
  help->setObjectName("HelpBtn");
  ConnectHelpButton(help, CalibrationHelpTopic);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

CalibrationResults::CalibrationResults(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Calibration results");
  setModal(true);
  auto* form = new QFormLayout;
  no_ = new QLabel(this);
  no_->setObjectName("No");
  ft_ = new QLabel(this);
  ft_->setObjectName("Ft");
  it_ = new QLabel(this);
  it_->setObjectName("It");
  form->addRow("Number of unknowns:", no_);
  form->addRow("Matrix fill time:", ft_);
  form->addRow("Matrix inversion time:", it_);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(ok, 0, Qt::AlignRight);
}

void CalibrationResults::Show(int unknowns, double fillSeconds, double invertSeconds) {
  no_->setText(QString::number(unknowns));
  ft_->setText(SecondsText(fillSeconds));
  it_->setText(SecondsText(invertSeconds));
  exec();
}

QString SecondsText(double seconds) { return QString::number(seconds, 'f', 2) + " seconds"; }

void CalibrateTimeEstimate(CalibrationDialog& dialog, CalibrationResults& results,
                           ComputationPage& page, ShellOptions& options, UserInterface& ui) {
  if (dialog.exec() != QDialog::Accepted) return;
  const bool estimate = options.ShowTimeEstimate, times = options.ShowCompTime;
  options.ShowTimeEstimate = options.ShowCompTime = false;
  const ComputationReport report = page.Compute(true);
  options.ShowTimeEstimate = estimate;
  options.ShowCompTime = times;
  // A run that was refused, aborted or solved nothing measured nothing.
  if (!report.Started || report.Aborted || report.Points.empty()) return;
  TimeConstants constants;
  constants.Unknowns = report.Unknowns;
  constants.FillSeconds = report.Fill.count();
  constants.InvertSeconds = report.Invert.count();
  results.Show(constants.Unknowns, constants.FillSeconds, constants.InvertSeconds);
  try {
    WriteTimeConstants(options.StartupDirectory / TimeEstimateFileName, constants);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
  }
}

}  // namespace lumetra::gui
