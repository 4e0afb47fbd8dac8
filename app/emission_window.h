// "Emission": will the board pass a radiated-emission limit? Per voltage source a
// signal (the project's constant voltage, a trapezoid clock, or the lines of a
// spectrum file), the test site, distance, limit and stop frequency; Compute runs
// the emission analysis with progress and Abort; the chart, the worst margin and
// the table of lines show the result, which can be saved as a picture or a report.
//
// The window holds texts and the last result only; the run is the core's. Bad
// input shows the core's message in a box and nothing runs.
#pragma once

#include "app/emission_form.h"
#include "app/study_window.h"
#include "studies/emission/emission_run.h"

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QGridLayout;
class QScrollArea;

namespace lumetra::gui {

class StudyChartView;

class EmissionWindow : public StudyWindow {
  Q_OBJECT
public:
  explicit EmissionWindow(MainWindow& main);

  // Utility menu: one signal row per voltage source of the project (rows kept as
  // typed while the number of sources stays), shown without blocking.
  void Open();

  // The window's texts, and back onto it (tests and the menu's reopening).
  EmissionForm Form() const;
  void SetForm(const EmissionForm& form);

  // Runs the analysis as the Compute button does; false when the input was
  // refused (its message shown) or nothing could run.
  bool Compute();

  const std::optional<emission::EmissionResult>& Result() const { return result_; }

  // The exports; each asks for the file and reports a write failure.
  void SaveChart();
  void SaveReport();
  void SaveCsv();

private:
  struct SourceRow {
    QComboBox* Kind;
    QLineEdit *Amplitude, *Fundamental, *Rise, *Fall, *Duty, *File;
    QPushButton* Browse;
  };
  // Another project: the rows follow its sources and the last result, which was
  // another board's, goes.
  void ProjectReplaced() override;
  // Rows for the project's sources as they are now (New, Open, layout edits).
  void RefreshRows() override;
  void RebuildSourceRows();
  void UpdateRowFields(int index);
  void UpdateLimitFields();
  void ShowResult();
  void SetInputsEnabled(bool enabled) override;

  QScrollArea* sourceScroll_;
  QGridLayout* sourceGrid_;
  QLabel* noSources_;
  std::vector<SourceRow> rows_;
  QComboBox *site_, *distance_, *limit_;
  QLineEdit *limitFile_, *stop_;
  QPushButton *browseLimit_, *compute_, *abort_, *saveChart_, *saveReport_, *saveCsv_;
  QLabel *progress_, *worst_;
  StudyChartView* chart_;
  QTableWidget* lines_;

  std::optional<emission::EmissionRequest> request_;  // of the result shown
  std::optional<emission::EmissionResult> result_;
};

}  // namespace lumetra::gui
