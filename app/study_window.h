// The frame of a study window (Emission, Network parameters, Immunity): it opens
// over the main window, follows the project the main window holds (another board
// drops the last result, activation refreshes the rows), starts a run only when no
// other computation is running, and runs the study with the Computation page locked
// and the window's inputs off, announcing RunStarted and RunFinished around it so
// that the main window leaves the project alone meanwhile.
#pragma once

#include <QString>
#include <QWidget>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "app/main_window.h"
#include "app/qt_user_interface.h"
#include "app/study_window_support.h"

class QLabel;
class QPushButton;

namespace lumetra::gui {

class FrequencyPanel;

class StudyWindow : public QWidget {
  Q_OBJECT
public:
  bool Running() const { return running_; }
  void RequestAbort();

signals:
  void RunStarted();
  void RunFinished();

protected:
  explicit StudyWindow(MainWindow& main);

  // Shows the window with the project's rows as they are now; a frequency panel
  // starts from the Computation page's frequencies the first time.
  void OpenWindow(FrequencyPanel* frequencies);
  bool event(QEvent* event) override;
  // Follows the main window's project: another board calls ProjectReplaced; the
  // rows are refreshed either way. Nothing changes while a run is in progress.
  void SyncWithProject();
  virtual void ProjectReplaced() = 0;
  virtual void RefreshRows() = 0;
  virtual void SetInputsEnabled(bool enabled) = 0;

  // False while this or another study, or the Computation page, is computing.
  bool MayStartRun() const;

  // Runs study(control) inside the run frame; a thrown error is shown and gives
  // nothing. FinishRun must follow once the window has shown the outcome.
  template <class Study>
  auto RunInFrame(QPushButton* abort, QLabel* progress, Study&& study)
      -> std::optional<decltype(study(std::declval<ComputationControl&>()))> {
    running_ = true;
    SetInputsEnabled(false);
    emit RunStarted();
    std::optional<decltype(study(std::declval<ComputationControl&>()))> result;
    {
      StudyRunScope run(main_, abort, progress);
      try {
        result = study(run.Control());
      } catch (const std::exception& error) {
        main_.Ui().ShowMessage(error.what());
      }
    }
    running_ = false;
    return result;
  }
  void FinishRun();

  // The progress line after a sweep over ports: "3 ports, 20 frequencies, 412
  // unknowns", or how far an aborted one came.
  static QString SweepSummary(bool aborted, std::size_t ports, std::size_t points, int unknowns);

  MainWindow& main_;

private:
  FrequencyPanel* frequencies_ = nullptr;
  bool running_ = false;
  bool seeded_ = false;       // frequencies taken from the Computation page once
  std::string shownProject_;  // the project whose rows are shown
};

}  // namespace lumetra::gui
