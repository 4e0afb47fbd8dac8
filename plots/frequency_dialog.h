// "Select frequency": the list of a result file's frequencies from which the plot
// pages and the result lists take the one to show. The caller sets the mode
// ("cur", "rad" or "nfe") and asks; a double click on an entry acts as OK.
#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>
#include <vector>

#include "fields/result_lists.h"
#include "model/user_interface.h"

class QLabel;
class QListWidget;

namespace lumetra::gui {

class FrequencyDialog : public QDialog {
  Q_OBJECT
public:
  explicit FrequencyDialog(QWidget* parent = nullptr);

  void SetMode(FrequencyDialogMode mode);
  FrequencyDialogMode Mode() const { return mode_; }

  // The frequency chosen last in this project (MHz), shared by the result pages
  // and lists: the dialog opens on it, and a page entered again takes it without
  // asking while its file still holds it. Set when a project opens.
  void SetRemembered(std::optional<double> frequencyMHz) { remembered_ = frequencyMHz; }
  std::optional<double> Remembered() const { return remembered_; }

  // Shows the entries modally with the remembered frequency (else the first)
  // selected; the selected index when closed with OK, nullopt otherwise or when
  // nothing is selected. Without askAgain, an entry equal to the remembered
  // frequency is returned at once.
  std::optional<std::size_t> Choose(const std::vector<std::string>& entries,
                                    bool askAgain = true);
  // The dialog as the core's chooser, in the mode set last.
  FrequencyChooser Chooser(bool askAgain = true);

  QListWidget* List() const { return list_; }

signals:
  // A frequency was picked in the dialog (MHz).
  void FrequencyChosen(double frequencyMHz);

private:
  FrequencyDialogMode mode_ = FrequencyDialogMode::Current;
  std::optional<double> remembered_;
  QLabel* parameter_;
  QListWidget* list_;
};

// The frequency a plot page shows, from the frequencies of the mode's file: the
// only one without asking, the remembered one unless askAgain, else the one picked
// in the dialog; nullopt after
// "You must select a frequency to plot!" when the choice is not made. The caller
// has made sure the file holds data ("There exist no data to plot!" otherwise).
// Throws FileError on a damaged file.
std::optional<double> SelectPlotFrequency(FrequencyDialog& dialog,
                                          const std::filesystem::path& frequencyFile,
                                          int fieldsPerLine, FrequencyDialogMode mode,
                                          UserInterface& ui, bool askAgain = false);

}  // namespace lumetra::gui
