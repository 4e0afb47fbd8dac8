#include "plots/frequency_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include "fields/result_readers.h"
#include "plots/frequency_choice.h"
#include "plots/plot_help_topics.h"

namespace lumetra::gui {

FrequencyDialog::FrequencyDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("FreqDialog");
  setWindowTitle(FrequencyDialogCaption);
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  layout->addWidget(list_);
  // The mode travels with the dialog, hidden, as the caller set it.
  parameter_ = new QLabel(this);
  parameter_->setObjectName("parameter");
  parameter_->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  buttons->button(QDialogButtonBox::Help)->setObjectName("HelpBtn");
  ConnectHelpButton(buttons->button(QDialogButtonBox::Help), help_topic::SelectFrequency);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  SetMode(FrequencyDialogMode::Current);
}

void FrequencyDialog::SetMode(FrequencyDialogMode mode) {
  mode_ = mode;
  parameter_->setText(QString::fromUtf8(DialogModeName(mode).data(),
                                        static_cast<int>(DialogModeName(mode).size())));
}

std::optional<std::size_t> FrequencyDialog::Choose(const std::vector<std::string>& entries) {
  list_->clear();
  for (const std::string& e : entries) list_->addItem(QString::fromStdString(e));
  if (list_->count() > 0) list_->setCurrentRow(0);
  if (exec() != QDialog::Accepted) return std::nullopt;
  const int row = list_->currentRow();
  if (row < 0 || list_->selectedItems().isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(row);
}

FrequencyChooser FrequencyDialog::Chooser() {
  return [this](const std::vector<std::string>& entries) { return Choose(entries); };
}

std::optional<double> SelectPlotFrequency(FrequencyDialog& dialog,
                                          const std::filesystem::path& frequencyFile,
                                          int fieldsPerLine, FrequencyDialogMode mode,
                                          UserInterface& ui) {
  dialog.SetMode(mode);
  std::string tail;  // an interrupted run's incomplete last block, set aside
  const std::vector<double> frequencies = ScanFrequencies(frequencyFile, fieldsPerLine, &tail);
  if (!tail.empty()) ui.ShowWarning(tail);
  return ChoosePlotFrequency(frequencies, dialog.Chooser(), ui);
}

}  // namespace lumetra::gui
