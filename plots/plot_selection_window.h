// "Plot selection": the segments whose currents the 3D view draws, as a check list
// in two columns, kept on top of the main window while the 2D/3D page is shown.
#pragma once

#include <QWidget>

class QListWidget;

namespace lumetra::gui {

class PlotSelectionWindow : public QWidget {
  Q_OBJECT
public:
  explicit PlotSelectionWindow(QWidget* parent = nullptr);

  // Entries 1..count, all checked.
  void Fill(int count);
  // Whether segment (1-based) is checked; false for a number not in the list.
  bool IsChecked(int segment) const;
  void SetAll(bool checked);
  QListWidget* Box() const { return box_; }

signals:
  void SelectionChanged();

private:
  QListWidget* box_;
};

}  // namespace lumetra::gui
