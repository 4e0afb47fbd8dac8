// What the study windows (Emission, Network parameters, Immunity) have in common:
// text conversions, the save prompts, the painted chart, and the frame around a
// run (Abort, progress, the Computation page locked meanwhile).
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "app/mirrored_progress_ui.h"
#include "plots/chart_file.h"
#include "solver/computation_control.h"

class QLabel;
class QPushButton;

namespace lumetra::gui {

class MainWindow;

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::string S(const QString& text) { return text.toStdString(); }

// Asks for the file to save; the name with ".<defaultExtension>" added when it
// has no extension, none when cancelled.
std::optional<std::string> ChooseSaveName(QWidget* parent, const QString& title,
                                          const QString& filters, const std::string& defaultExtension);
// "File \"x\" already exist.  Overwrite?" when the file is there, as the
// program's other saves ask; true when it may be written.
bool MayWrite(UserInterface& ui, const std::string& path);

// A push button with its object name (the name the tests find it by).
QPushButton* NamedButton(const QString& text, const char* name, QWidget* parent);

// The Compute and Abort buttons every study window has; Abort hidden until a run.
struct RunButtons {
  QPushButton* Compute;
  QPushButton* Abort;
};
RunButtons MakeRunButtons(QWidget* parent);

// A chart painted by a function at the widget's size, or a grey hint before
// there is anything to show.
class StudyChartView : public QWidget {
  Q_OBJECT
public:
  StudyChartView(const QString& hint, QWidget* parent);
  // An empty function shows the hint again.
  void Show(ChartPainting draw);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QString hint_;
  ChartPainting draw_;
};

// The frame around a study window's run, for the time it lives: a pending Abort
// press cleared, the Abort button shown, the Computation page locked,
// "Computing..." and then the core's progress texts in the window's label. The
// window locks its own inputs.
class StudyRunScope {
public:
  StudyRunScope(MainWindow& main, QPushButton* abort, QLabel* progress);
  ~StudyRunScope();
  StudyRunScope(const StudyRunScope&) = delete;
  StudyRunScope& operator=(const StudyRunScope&) = delete;

  ComputationControl& Control() { return control_; }
  // Whether some study window's run is in progress: its events are pumped, so
  // another window's Compute must wait rather than start a run inside it.
  static bool AnyRunning() { return active_ > 0; }

private:
  MainWindow& main_;
  QPushButton* abort_;
  MirroredProgressUi mirrored_;
  ComputationControl control_;
  static inline int active_ = 0;
};

}  // namespace lumetra::gui
