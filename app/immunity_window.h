// "Immunity": how large a voltage a radiated test field puts across the loads of
// the board. The loads are listed (every load with the sources as shorted ports,
// or the loads ticked); the field level, the frequencies (single, sweep, log
// sweep or list, as on the Computation page) and an optional threshold; Compute
// runs the core's immunity sweep, the one lumetra-cli runs, with progress and
// Abort; the chart with the threshold line, the verdict and the table show the
// result, which can be saved as a picture (SVG, PNG), CSV or JSON.
//
// The window holds texts and the last result only; a refused input shows the
// core's message in a box and nothing runs.
#pragma once

#include <optional>
#include <string>

#include "app/immunity_form.h"
#include "app/study_window.h"
#include "studies/computation_settings.h"
#include "studies/immunity/immunity_run.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace lumetra::gui {

class FrequencyPanel;
class StudyChartView;

class ImmunityWindow : public StudyWindow {
  Q_OBJECT
public:
  explicit ImmunityWindow(MainWindow& main);

  // Utility menu: the loads of the project as it is now; the frequencies start as
  // the Computation page's the first time.
  void Open();

  // The window's texts and choices, and back onto it.
  ImmunityForm Form() const;
  void SetForm(const ImmunityForm& form);
  // The Computation page's settings with the window's frequencies.
  ComputationSettings Settings() const;

  // Runs the sweep as the Compute button does; false when the input was refused
  // (its message shown) or the run stopped before any frequency.
  bool Compute();
  const std::optional<immunity::ImmunityResult>& Result() const { return result_; }

  // The exports; each asks for the file and reports a write failure.
  void SaveChart();
  void SaveCsv();
  void SaveJson();

private:
  void ProjectReplaced() override;
  void RefreshRows() override;
  void UpdateLoadChoice();
  void ShowTableHeader(bool withThreshold);
  void ShowResult();
  void ClearResult();
  void SetInputsEnabled(bool enabled) override;
  void SaveText(const char* title, const char* filters, const char* extension, const std::string& text);

  QRadioButton *everyPort_, *chosenLoads_;
  QTableWidget* loads_;
  QLabel* noLoads_;
  FrequencyPanel* frequencies_;
  QLineEdit *field_, *threshold_;
  QPushButton *compute_, *abort_, *saveChart_, *saveCsv_, *saveJson_;
  QLabel *progress_, *verdict_;
  StudyChartView* chart_;
  QTableWidget* table_;

  std::optional<immunity::ImmunityResult> result_;
  ImmunityRequest request_;  // of the result shown
};

}  // namespace lumetra::gui
