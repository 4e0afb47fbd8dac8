#include "app/solver_settings_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "solver/complex_storage.h"
#include "solver/memory_estimate.h"

namespace lumetra::gui {

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

IntegrationDialog::IntegrationDialog(UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setWindowTitle("Spectral domain integration parameters");
  setModal(true);
  points_ = new QLineEdit(this);
  points_->setObjectName("NoPointst");
  error_ = new QLineEdit(this);
  error_->setObjectName("RelErrt");
  auto* reset = new QPushButton("Reset to default", this);
  reset->setObjectName("ResetBtn");
  connect(reset, &QPushButton::clicked, this, [this] {
    const IntegrationTexts defaults = DefaultIntegrationTexts();
    points_->setText(QString::fromStdString(defaults.Points));
    error_->setText(QString::fromStdString(defaults.RelativeError));
  });
  auto* form = new QFormLayout;
  form->addRow("Number of points for integration", points_);
  form->addRow("Relative accuracy in percent", error_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(reset, 0, Qt::AlignLeft);
  layout->addWidget(OkCancel(this));
}

bool IntegrationDialog::Edit(IntegrationSettings& settings) {
  const IntegrationTexts texts = IntegrationTextsOf(settings);
  points_->setText(QString::fromStdString(texts.Points));
  error_->setText(QString::fromStdString(texts.RelativeError));
  points_->setFocus();
  if (exec() != QDialog::Accepted) return false;
  settings = accepted_;
  return true;
}

void IntegrationDialog::accept() {
  IntegrationTexts texts;
  texts.Points = points_->text().toStdString();
  texts.RelativeError = error_->text().toStdString();
  IntegrationField failed = IntegrationField::Points;
  const std::optional<IntegrationSettings> checked = CheckIntegrationTexts(texts, ui_, &failed);
  if (!checked) {
    QLineEdit* field = failed == IntegrationField::Points ? points_ : error_;
    field->setFocus();
    field->selectAll();
    return;
  }
  accepted_ = *checked;
  QDialog::accept();
}

EffectivePermittivityDialog::EffectivePermittivityDialog(UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setWindowTitle("Options for effective permittivity");
  setModal(true);
  simple_ = new QRadioButton("Simple formula", this);
  simple_->setObjectName("SimpleFormula");
  approximate_ = new QRadioButton("Approximate at every", this);
  approximate_->setObjectName("ApproximateEvery");
  every_ = new QLineEdit("1", this);
  every_->setObjectName("evfreq");
  every_->setMaximumWidth(60);
  simple_->setChecked(true);
  auto* row = new QHBoxLayout;
  row->addWidget(approximate_);
  row->addWidget(every_);
  row->addWidget(new QLabel("frequency", this));
  row->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(simple_);
  layout->addLayout(row);
  layout->addWidget(OkCancel(this));
}

void EffectivePermittivityDialog::Edit(EffectivePermittivitySettings& settings) {
  current_ = settings;
  exec();
  settings = current_;
}

void EffectivePermittivityDialog::done(int result) {
  const EffectivePermittivityModel model = approximate_->isChecked()
                                               ? EffectivePermittivityModel::ApproximateEvery
                                               : EffectivePermittivityModel::SimpleFormula;
  const std::optional<EffectivePermittivitySettings> checked =
      CheckEffectivePermittivity(model, every_->text().toStdString(), ui_);
  if (!checked) {
    every_->setFocus();
    every_->selectAll();
    return;
  }
  current_ = *checked;
  QDialog::done(result);
}

AccuracyDialog::AccuracyDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Solver accuracy");
  setModal(true);
  standard_ = new QRadioButton("Standard", this);
  standard_->setObjectName("AccuracyStandard");
  high_ = new QRadioButton("High", this);
  high_->setObjectName("AccuracyHigh");
  standard_->setChecked(true);
  auto* note = new QLabel(
      "High gives traces one cell wide the current and charge of a real strip, crowded\n"
      "at its edges, tests each ground point's vertical current over its whole depth,\n"
      "integrates every cell exactly whatever its shape, keeps couplings reciprocal and\n"
      "chooses the number of spectral integration points a dielectric layout needs\n"
      "(never fewer than set). Standard keeps the results of earlier versions.",
      this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(standard_);
  layout->addWidget(high_);
  layout->addWidget(note);
  layout->addWidget(OkCancel(this));
}

bool AccuracyDialog::Edit(SolverAccuracy& accuracy) {
  (accuracy == SolverAccuracy::High ? high_ : standard_)->setChecked(true);
  if (exec() != QDialog::Accepted) return false;
  accuracy = high_->isChecked() ? SolverAccuracy::High : SolverAccuracy::Standard;
  return true;
}

MaxUnknownsDialog::MaxUnknownsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Maximum number of unknowns");
  setModal(true);
  limit_ = new QSpinBox(this);
  limit_->setObjectName("MaxUnknowns");
  limit_->setRange(DefaultMaxUnknowns, LargestMaxUnknowns);
  limit_->setSingleStep(500);
  memory_ = new QLabel(this);
  memory_->setObjectName("MatrixMemory");
  auto* note = new QLabel(
      "The most unknowns of one direction (Jx or Jy, ground points included) and of a\n"
      "coupled system; 2000 by default. A system of N unknowns takes 16 N\u00b2 bytes for\n"
      "its matrix: a computation that would not fit the memory available is refused\n"
      "before it starts. Kept for this user, not in the project.",
      this);
  auto* form = new QFormLayout;
  form->addRow("Maximum number of unknowns:", limit_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(memory_);
  layout->addWidget(note);
  layout->addWidget(OkCancel(this));
  connect(limit_, &QSpinBox::valueChanged, this, &MaxUnknownsDialog::ShowMemory);
}

void MaxUnknownsDialog::ShowMemory() {
  const double matrix = static_cast<double>(MatrixBytes(limit_->value())) / 1e9;
  QString text = QString("A matrix of %1 unknowns takes %2 GB").arg(limit_->value()).arg(matrix, 0, 'f', 2);
  if (const std::optional<std::int64_t> available = ReadAvailableMemory())
    text += QString("; %1 GB are available now").arg(static_cast<double>(*available) / 1e9, 0, 'f', 2);
  memory_->setText(text + ".");
}

bool MaxUnknownsDialog::Edit(std::int32_t& limit) {
  limit_->setValue(limit);
  ShowMemory();
  if (exec() != QDialog::Accepted) return false;
  limit = limit_->value();
  return true;
}

}  // namespace lumetra::gui
