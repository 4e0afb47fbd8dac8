// The port results under the Computation page's parameters: after each run, one
// table per voltage source with the frequency, the port current, the port
// impedance R + jX with |Z|, and the reflection coefficient against 50 ohm in dB;
// the whole table can be copied to the clipboard or saved as CSV.
#pragma once

#include <QGroupBox>
#include <vector>

#include "plots/port_table.h"

class QPushButton;
class QTabWidget;
class QTableWidget;

namespace lumetra {
class UserInterface;
}

namespace lumetra::gui {

class PortResultsPanel : public QGroupBox {
  Q_OBJECT
public:
  PortResultsPanel(UserInterface& ui, QWidget* parent);

  // The solved points of the last run (none: the table empties).
  void Show(const std::vector<FrequencyPointResult>& points);
  const std::vector<PortRow>& Rows() const { return rows_; }
  QTableWidget* TableOfSource(std::int32_t source) const;

  // The table as CSV on the clipboard, and in a file chosen by the user.
  void CopyToClipboard() const;
  void SaveCsv();

private:
  UserInterface& ui_;
  std::vector<PortRow> rows_;
  QTabWidget* tabs_;
  QPushButton *copy_, *save_;
};

}  // namespace lumetra::gui
