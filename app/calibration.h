// "Calibrate time estimate constants": measures this machine's matrix fill and
// inversion times with an ordinary computation and keeps them in "Lumetra.TES".
#pragma once

#include <QDialog>

#include "editor/shell_options.h"
#include "model/user_interface.h"

class QLabel;

namespace lumetra::gui {

class ComputationPage;

// "Calibration of constants for time estimates": the instructions; "Calibrate"
// accepts.
class CalibrationDialog : public QDialog {
  Q_OBJECT
public:
  explicit CalibrationDialog(QWidget* parent);
};

// "Calibration results": unknowns, fill time and inversion time.
class CalibrationResults : public QDialog {
  Q_OBJECT
public:
  explicit CalibrationResults(QWidget* parent);
  void Show(int unknowns, double fillSeconds, double invertSeconds);

private:
  QLabel *no_, *ft_, *it_;
};

// The command: dialog, computation without estimate and times, results, file.
// The two option marks are restored whatever happens.
void CalibrateTimeEstimate(CalibrationDialog& dialog, CalibrationResults& results,
                           ComputationPage& page, ShellOptions& options, UserInterface& ui);

// "12.35 seconds"
QString SecondsText(double seconds);

}  // namespace lumetra::gui
