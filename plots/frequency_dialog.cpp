#include "plots/frequency_dialog.h"

#include <QDialogButtonBox>
#include <algorithm>
#include <cmath>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/help_link.h"
#include <algorithm>
#include <cmath>

#include "fields/result_readers.h"
#include "model/input_checks.h"
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

namespace {

// The entry that names the frequency f: entries are the frequencies as the lists
// print them, so a value read back from one may differ from f in its last digits.
std::optional<int> EntryOf(const std::vector<std::string>& entries, std::optional<double> f) {
  if (!f) return std::nullopt;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::optional<double> value = ParseRealText(entries[k]);
    if (value && std::fabs(*value - *f) <= 1e-9 * std::max(1.0, std::fabs(*f)))
      return static_cast<int>(k);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> FrequencyDialog::Choose(const std::vector<std::string>& entries,
                                                   bool askAgain) {
  const std::optional<int> remembered = EntryOf(entries, remembered_);
  if (!askAgain && remembered) return static_cast<std::size_t>(*remembered);
  list_->clear();
  for (const std::string& e : entries) list_->addItem(QString::fromStdString(e));
  if (list_->count() > 0) list_->setCurrentRow(remembered.value_or(0));
  if (exec() != QDialog::Accepted) return std::nullopt;
  const int row = list_->currentRow();
  if (row < 0 || list_->selectedItems().isEmpty()) return std::nullopt;
  if (const std::optional<double> value = ParseRealText(entries[static_cast<std::size_t>(row)])) {
    remembered_ = *value;
    emit FrequencyChosen(*value);
  }
  return static_cast<std::size_t>(row);
}

FrequencyChooser FrequencyDialog::Chooser(bool askAgain) {
  return [this, askAgain](const std::vector<std::string>& entries) {
    return Choose(entries, askAgain);
  };
}

std::optional<double> SelectPlotFrequency(FrequencyDialog& dialog,
                                          const std::filesystem::path& frequencyFile,
                                          int fieldsPerLine, FrequencyDialogMode mode,
                                          UserInterface& ui, bool askAgain) {
  dialog.SetMode(mode);
  std::string tail;  // an interrupted run's incomplete last block, set aside
  const std::vector<double> frequencies = ScanFrequencies(frequencyFile, fieldsPerLine, &tail);
  if (!tail.empty()) ui.ShowWarning(tail);
  return ChoosePlotFrequency(frequencies, dialog.Chooser(askAgain), ui);
}

}  // namespace lumetra::gui
