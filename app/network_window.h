// "Network parameters": the project's voltage sources as the ports of a network.
// The frequencies (single, sweep or list, as on the Computation page), the
// reference impedance, the parameter (S, Z, Y) and the pair format (MA, DB, RI)
// of the file; Compute runs the core's network sweep with progress and Abort; a
// chart shows |Sij| in dB over frequency for the chosen i and j; "Save as
// Touchstone..." writes the .sNp file through the core's writer.
//
// The window holds texts and the last result only; a refused input shows the
// core's message in a box and nothing runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/study_window.h"
#include "studies/computation_settings.h"
#include "studies/network/network_run.h"
#include "studies/network/touchstone.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace lumetra::gui {

class FrequencyPanel;

// |Sij| in dB against frequency, painted at the widget's size.
struct NetworkCurve {
  std::vector<double> FrequenciesMHz, Db;
  std::string Name;  // "S21"
};

class NetworkChartView : public QWidget {
  Q_OBJECT
public:
  explicit NetworkChartView(QWidget* parent);
  void Show(const std::optional<NetworkCurve>& curve);
  const std::optional<NetworkCurve>& Curve() const { return curve_; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  std::optional<NetworkCurve> curve_;
};

class NetworkWindow : public StudyWindow {
  Q_OBJECT
public:
  explicit NetworkWindow(MainWindow& main);

  // Utility menu: the ports of the project as it is now; the frequencies start as
  // the Computation page's the first time.
  void Open();

  // The Computation page's settings with the window's frequencies.
  ComputationSettings Settings() const;

  // Runs the network sweep as the Compute button does; false when the input was
  // refused (message shown) or the run stopped before any point.
  bool Compute();
  const std::optional<network::NetworkResult>& Result() const { return result_; }

  // Writes the last result to path (".sNp" added when it has no extension) with
  // the chosen parameter, format and reference impedance; false with the
  // message shown when it cannot.
  bool SaveTouchstone(const QString& path);
  // The button: asks for the file, then SaveTouchstone.
  void ChooseAndSaveTouchstone();

  // |Sij| (1-based) of the last result with the typed reference impedance.
  void ShowEntry(int i, int j);

private:
  void ProjectReplaced() override;
  void RefreshRows() override;
  void UpdateChart();
  void SetInputsEnabled(bool enabled) override;

  QTableWidget* ports_;
  QLabel* noPorts_;
  FrequencyPanel* frequencies_;
  QLineEdit* reference_;
  QComboBox *parameter_, *format_, *row_, *column_;
  QPushButton *compute_, *abort_, *save_;
  QLabel* progress_;
  NetworkChartView* chart_;

  std::optional<network::NetworkResult> result_;
  std::string resultProject_;  // the project file the result was computed for
};

}  // namespace lumetra::gui
