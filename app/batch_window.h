// "Batch computation": up to five projects computed one after another without a
// question, each with its own parameters set on the main window's Computation page.
//
// The window holds no engineering data: for every row it opens the project as File,
// Open does, puts the row's job onto the Computation page and runs Compute as the
// button would, with BatchMode set around both so that nothing asks or waits.
//
// A row that fails (the project does not open, a check refuses the job, the run
// stops) reads "Failed" with its message beside it and in the log below the rows,
// and the batch goes on with the next row: no message box waits for a click.
//
// While the window is up, the main window's own Compute stays disabled; the page's
// values become a row's job when the window is activated again after "Define / Edit".
#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "app/batch_job.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumetra::gui {

class MainWindow;

class TBatchWindow : public QWidget {
  Q_OBJECT
public:
  static constexpr int Rows = 5;

  explicit TBatchWindow(MainWindow& main);

  // File menu: empty rows, no jobs, only the first "Browse" usable; shown without
  // blocking the main window.
  void Open();

  // The buttons of row n (1..Rows) and "Start batch computation".
  void Browse(int n);
  void DefineEdit(int n);
  void Start();

  // One job per chosen file, in the order they were chosen; row n uses the n-th.
  const std::vector<BatchJob>& BatchJobs() const { return batchJobs_; }
  // The row whose project the main window holds (0: none).
  int CurrentJob() const { return currentJob_; }
  bool Running() const { return running_; }
  // Row n's outcome ("-->", "Done", "Failed" or empty) and its messages.
  QString RowStatus(int n) const;
  QString RowMessage(int n) const;
  QString LogText() const;

protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  QString PathOf(int n) const;
  BatchJob& JobOf(int n);
  // Opens row n's project as the batch does and shows the Computation page.
  bool OpenJobProject(int n);
  // Opens and computes row n with messages captured; true when it computed
  // without an error.
  bool RunRow(int n, QStringList& messages);
  void UpdateButtons();

  MainWindow& main_;
  QLineEdit* edit_[Rows];
  QPushButton* browse_[Rows];
  QPushButton* define_[Rows];
  QLabel* status_[Rows];
  QLabel* message_[Rows];
  QPlainTextEdit* log_;
  QPushButton *start_, *close_;

  std::vector<BatchJob> batchJobs_;
  int currentJob_ = 0;
  bool running_ = false;
};

}  // namespace lumetra::gui
