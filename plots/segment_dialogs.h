// The two questions of the 2D current graph: which segment ("Select segment") and,
// for a segment with both element kinds, which row or column ("Select plot type").
#pragma once

#include <QDialog>
#include <optional>

#include "editor/checked_dialog.h"

class QLabel;
class QListWidget;
class QRadioButton;

namespace lumetra::gui {

class SelectSegmentDialog : public CheckedDialog {
  Q_OBJECT
public:
  SelectSegmentDialog(UserInterface& ui, QWidget* parent);
  // The chosen segment of 1..count, nullopt when cancelled.
  std::optional<int> Ask(int count);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QLineEdit* field_;
  int count_ = 0;
  std::int32_t value_ = 0;
};

struct PlotTypeChoice {
  bool Jx = true;
  int Row = 0;  // 1-based row (Jx) or column (Jy)
};

class SelectPlotTypeDialog : public QDialog {
  Q_OBJECT
public:
  SelectPlotTypeDialog(UserInterface& ui, QWidget* parent);
  // The kind and row of a segment of nx x ny cells; nullopt when closed without OK.
  std::optional<PlotTypeChoice> Ask(int nx, int ny);

  void accept() override;

private:
  void FillList();

  UserInterface& ui_;
  QRadioButton *x_, *y_;
  QLabel* label_;
  QListWidget* list_;
  int nx_ = 0, ny_ = 0;
};

}  // namespace lumetra::gui
