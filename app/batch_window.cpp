#include "app/batch_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/computation_page.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/qt_user_interface.h"
#include "editor/window_placement.h"
#include "model/batch_mode.h"
#include "model/project_commands.h"
#include "studies/computation_driver.h"

namespace lumetra::gui {

namespace {

const char* const ProjectFilter = "Project Files (*.PRO)";
const int ComputationPageIndex = 1;

QString Numbered(const char* name, int number) { return name + QString::number(number); }

}  // namespace

TBatchWindow::TBatchWindow(MainWindow& main)
    : QWidget(&main, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      main_(main) {
  setObjectName("BatchWindow");
  setWindowTitle("Batch computation");

  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(8);
  rows->addWidget(new QLabel("Project file", this), 0, 0);
  rows->addWidget(new QLabel("Parameters", this), 0, 2);
  rows->addWidget(new QLabel("Message", this), 0, 4);
  for (int i = 0; i < Rows; ++i) {
    const int n = i + 1;
    edit_[i] = new QLineEdit(this);
    edit_[i]->setObjectName(Numbered("Edit", n));
    edit_[i]->setReadOnly(true);
    edit_[i]->setMinimumWidth(340);
    browse_[i] = new QPushButton("Browse", this);
    browse_[i]->setObjectName(Numbered("Button", n));
    define_[i] = new QPushButton("Define / Edit", this);
    define_[i]->setObjectName(Numbered("Button", n + Rows));
    status_[i] = new QLabel(this);
    status_[i]->setObjectName(Numbered("Label", n));
    // Wide enough for "Failed" from the start, so the fixed window never has to grow.
    status_[i]->setMinimumWidth(status_[i]->fontMetrics().horizontalAdvance("Failed") + 8);
    message_[i] = new QLabel(this);
    message_[i]->setObjectName(Numbered("Message", n));
    message_[i]->setFixedWidth(260);
    rows->addWidget(edit_[i], n, 0);
    rows->addWidget(browse_[i], n, 1);
    rows->addWidget(define_[i], n, 2);
    rows->addWidget(status_[i], n, 3);
    rows->addWidget(message_[i], n, 4);
    connect(browse_[i], &QPushButton::clicked, this, [this, n] { Browse(n); });
    connect(define_[i], &QPushButton::clicked, this, [this, n] { DefineEdit(n); });
  }

  start_ = new QPushButton("Start batch computation", this);
  start_->setObjectName("Start");
  close_ = new QPushButton("Close", this);
  close_->setObjectName("Button12");
  connect(start_, &QPushButton::clicked, this, &TBatchWindow::Start);
  connect(close_, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addStretch();
  buttons->addWidget(close_);

  log_ = new QPlainTextEdit(this);
  log_->setObjectName("BatchLog");
  log_->setReadOnly(true);
  log_->setFixedHeight(log_->fontMetrics().lineSpacing() * 6 + 12);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rows);
  layout->addSpacing(8);
  layout->addWidget(new QLabel("Log", this));
  layout->addWidget(log_);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  // A fixed dialog border: the window is as large as its rows and no larger.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  UpdateButtons();
}

QString TBatchWindow::PathOf(int n) const { return edit_[n - 1]->text(); }

BatchJob& TBatchWindow::JobOf(int n) {
  // Rows are filled in order and every chosen file appends a job, so row n always
  // has its job; should it not, the row gets a fresh one rather than another's.
  if (batchJobs_.size() < static_cast<std::size_t>(n)) batchJobs_.resize(n);
  return batchJobs_[n - 1];
}

void TBatchWindow::UpdateButtons() {
  // While the batch runs, the computation pumps events: nothing here may open
  // another project under it.
  for (int i = 0; i < Rows; ++i) {
    browse_[i]->setEnabled(!running_ && (i == 0 || !edit_[i - 1]->text().isEmpty()));
    define_[i]->setEnabled(!running_ && !edit_[i]->text().isEmpty());
  }
  start_->setEnabled(!running_);
  close_->setEnabled(!running_);
}

void TBatchWindow::Open() {
  for (int i = 0; i < Rows; ++i) {
    edit_[i]->clear();
    status_[i]->clear();
    message_[i]->clear();
  }
  log_->clear();
  batchJobs_.clear();
  currentJob_ = 0;
  UpdateButtons();
  ShowCentredOnOwner(this);
}

bool TBatchWindow::OpenJobProject(int n) {
  const BatchModeScope batch;
  currentJob_ = n;
  if (!main_.OpenProjectFile(PathOf(n))) return false;
  // Each page's entry logic runs as when the user clicks through them.
  main_.Pages()->setCurrentIndex(0);
  main_.Pages()->setCurrentIndex(ComputationPageIndex);
  return true;
}

void TBatchWindow::Browse(int n) {
  // The batch opens projects without asking; unsaved work in the one open now is
  // offered for saving first, as File, Open would.
  if (!ConfirmSaveChanges(main_.CurrentProject(), main_.Ui())) return;
  const QString file = ChooseFileToOpen(this, "Open Project", ProjectFilter);
  if (file.isEmpty()) return;
  edit_[n - 1]->setText(file);
  batchJobs_.emplace_back();
  UpdateButtons();
  OpenJobProject(n);
  JobOf(n) = main_.Computation()->CaptureJob();
}

void TBatchWindow::DefineEdit(int n) {
  if (!ConfirmSaveChanges(main_.CurrentProject(), main_.Ui())) return;
  OpenJobProject(n);
  main_.Computation()->RestoreJob(JobOf(n));
}

bool TBatchWindow::RunRow(int n, QStringList& messages) {
  bool error = false;
  const MessageCapture capture(main_.Ui(), [&](std::string_view text) {
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    messages << message;
    // Warnings and notes are kept in the log; errors and a stopped run fail the row.
    if (!message.startsWith("Warning") && !message.startsWith("Ground connections"))
      error = true;
  });
  const BatchModeScope batch;
  // A project that did not open leaves the previous one in the main window;
  // computing that with this row's job would overwrite its results.
  if (!OpenJobProject(n)) return false;
  main_.Computation()->RestoreJob(JobOf(n));
  const ComputationReport report = main_.Computation()->Compute();
  return report.Started && !report.Aborted && !report.Points.empty() && !error;
}

void TBatchWindow::Start() {
  if (running_ || !ConfirmSaveChanges(main_.CurrentProject(), main_.Ui())) return;
  for (int i = 0; i < Rows; ++i) {
    status_[i]->clear();
    message_[i]->clear();
    message_[i]->setToolTip({});
  }
  log_->clear();
  running_ = true;
  UpdateButtons();
  for (int n = 1; n <= Rows; ++n) {
    if (PathOf(n).isEmpty()) continue;
    status_[n - 1]->setText("-->");
    QStringList messages;
    const bool ok = RunRow(n, messages);
    status_[n - 1]->setText(ok ? "Done" : "Failed");
    if (!ok && messages.isEmpty()) messages << "The computation did not run.";
    const QString joined = messages.join(" ");
    message_[n - 1]->setText(message_[n - 1]->fontMetrics().elidedText(
        joined, Qt::ElideRight, message_[n - 1]->width()));
    message_[n - 1]->setToolTip(messages.join("\n"));
    log_->appendPlainText(QString("%1 %2: %3").arg(ok ? "Done" : "Failed", PathOf(n),
                                                  ok ? QString("computed") : joined));
    for (const QString& m : messages)
      if (ok) log_->appendPlainText("  " + m);
  }
  running_ = false;
  UpdateButtons();
}

QString TBatchWindow::RowStatus(int n) const { return status_[n - 1]->text(); }
QString TBatchWindow::RowMessage(int n) const { return message_[n - 1]->toolTip(); }
QString TBatchWindow::LogText() const { return log_->toPlainText(); }

bool TBatchWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    // Back from the main window: what the user set on the page is the job now.
    main_.Computation()->SetStartLocked(true);
    if (currentJob_ > 0) {
      JobOf(currentJob_) = main_.Computation()->CaptureJob();
      // The job is the project's own settings from now on, also outside the batch.
      main_.Computation()->SaveProjectSettings();
    }
  }
  return QWidget::event(event);
}

void TBatchWindow::closeEvent(QCloseEvent* event) {
  if (running_) {
    // The batch finishes first; Abort on the Computation page stops the current job.
    event->ignore();
    return;
  }
  main_.Computation()->SetStartLocked(false);
  batchJobs_.clear();
  currentJob_ = 0;
  event->accept();
}

}  // namespace lumetra::gui
