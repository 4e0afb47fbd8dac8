#include "app/study_window.h"

#include <QEvent>

#include "app/computation_page.h"
#include "app/frequency_panel.h"
#include "editor/window_placement.h"

namespace lumetra::gui {

StudyWindow::StudyWindow(MainWindow& main) : QWidget(&main, Qt::Window), main_(main) {}

void StudyWindow::RequestAbort() { main_.Ui().RequestAbort(); }

void StudyWindow::OpenWindow(FrequencyPanel* frequencies) {
  frequencies_ = frequencies;
  if (frequencies_ && !seeded_ && main_.Computation()) {
    frequencies_->Apply(main_.Computation()->Settings());
    seeded_ = true;
  }
  SyncWithProject();
  ShowCentredOnOwner(this);
  if (frequencies_) frequencies_->UpdateMode();
}

bool StudyWindow::event(QEvent* event) {
  // Back from the layout, where sources or loads may have come or gone.
  if (event->type() == QEvent::WindowActivate) SyncWithProject();
  if (event->type() == QEvent::Hide && frequencies_) frequencies_->HideList();
  return QWidget::event(event);
}

void StudyWindow::SyncWithProject() {
  if (running_) return;
  const Project& project = main_.CurrentProject();
  if (project.ProjectFile != shownProject_) {
    // A result belongs to the board it was computed for.
    shownProject_ = project.ProjectFile;
    ProjectReplaced();
  }
  RefreshRows();
}

bool StudyWindow::MayStartRun() const {
  return !running_ && !StudyRunScope::AnyRunning() &&
         !(main_.Computation() && main_.Computation()->Running());
}

void StudyWindow::FinishRun() {
  SetInputsEnabled(true);
  emit RunFinished();
}

QString StudyWindow::SweepSummary(bool aborted, std::size_t ports, std::size_t points, int unknowns) {
  return aborted ? QString("Aborted after %1 frequencies; %2 unknowns").arg(points).arg(unknowns)
                 : QString("%1 ports, %2 frequencies, %3 unknowns").arg(ports).arg(points).arg(unknowns);
}

}  // namespace lumetra::gui
