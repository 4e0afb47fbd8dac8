#include "app/frequency_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/frequency_list_window.h"

namespace lumetra::gui {

FrequencyPanel::FrequencyPanel(UserInterface& ui, QWidget* parent) : QGroupBox("Frequency", parent) {
  auto* grid = new QGridLayout(this);
  const auto field = [&](const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaximumWidth(90);
    return edit;
  };
  single_ = new QRadioButton("Single frequency", this);
  single_->setObjectName("SingFreq");
  sweep_ = new QRadioButton("Frequency sweep", this);
  sweep_->setObjectName("SweepFreq");
  frequency_ = field("Frequency");
  start_ = field("StartFreq");
  stop_ = field("StopFreq");
  step_ = field("StepFreq");
  log_ = new QCheckBox("Logarithmic sweep", this);
  log_->setObjectName("LogSweep");
  list_ = new QCheckBox("Frequency list", this);
  list_->setObjectName("FreqListCB");
  grid->addWidget(single_, 0, 0);
  grid->addWidget(new QLabel("Frequency [MHz]", this), 0, 1);
  grid->addWidget(frequency_, 0, 2);
  grid->addWidget(sweep_, 1, 0);
  grid->addWidget(new QLabel("Start [MHz]", this), 1, 1);
  grid->addWidget(start_, 1, 2);
  grid->addWidget(new QLabel("Stop [MHz]", this), 2, 1);
  grid->addWidget(stop_, 2, 2);
  grid->addWidget(new QLabel("Step [MHz] / factor", this), 3, 1);
  grid->addWidget(step_, 3, 2);
  grid->addWidget(log_, 4, 1, 1, 2);
  grid->addWidget(list_, 5, 1, 1, 2);
  grid->setColumnStretch(3, 1);
  frequencyList_ = new FrequencyListWindow(ui, this);
  connect(single_, &QRadioButton::toggled, this, [this] { UpdateMode(); });
  connect(list_, &QCheckBox::toggled, this, [this] { UpdateMode(); });
}

void FrequencyPanel::Apply(const ComputationSettings& s) {
  (s.SweepFreq ? sweep_ : single_)->setChecked(true);
  frequency_->setText(QString::fromStdString(s.Frequency));
  start_->setText(QString::fromStdString(s.StartFreq));
  stop_->setText(QString::fromStdString(s.StopFreq));
  step_->setText(QString::fromStdString(s.StepFreq));
  log_->setChecked(s.LogSweep);
  list_->setChecked(s.FreqListCB);
  frequencyList_->SetLines(s.FrequencyList);
  UpdateMode();
}

void FrequencyPanel::WriteInto(ComputationSettings& s) const {
  s.SweepFreq = !single_->isChecked();
  s.Frequency = frequency_->text().toStdString();
  s.StartFreq = start_->text().toStdString();
  s.StopFreq = stop_->text().toStdString();
  s.StepFreq = step_->text().toStdString();
  s.LogSweep = log_->isChecked();
  s.FreqListCB = s.SweepFreq && list_->isChecked();
  s.FrequencyList = frequencyList_->Lines();
}

void FrequencyPanel::SetLocked(bool locked) {
  locked_ = locked;
  UpdateMode();
}

void FrequencyPanel::UpdateMode() {
  const bool sweep = !single_->isChecked();
  const bool list = list_->isChecked();
  single_->setEnabled(!locked_);
  sweep_->setEnabled(!locked_);
  frequency_->setEnabled(!sweep && !locked_);
  for (QWidget* w : std::initializer_list<QWidget*>{start_, stop_, step_, log_})
    w->setEnabled(sweep && !list && !locked_);
  list_->setEnabled(sweep && !locked_);
  frequencyList_->SetLocked(locked_);
  // The list window stands beside the owner while a listed sweep is chosen.
  frequencyList_->setVisible(sweep && list && window()->isVisible());
}

void FrequencyPanel::HideList() { frequencyList_->hide(); }

}  // namespace lumetra::gui
