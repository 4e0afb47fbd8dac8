// The plot utility's chart editing dialogs: "Grid properties" (TSetGrid), "Axis
// scale" (TScale), "Edit text" (TEditTitle) and "Edit style" (TEditLine). Each opens
// with the values it edits and returns the edited values on OK; the numbers go
// through the program's input checks, so a bad entry keeps the dialog open.
#pragma once

#include <QFont>
#include <optional>

#include "editor/checked_dialog.h"
#include "plots/utility_chart.h"

class QCheckBox;
class QComboBox;

namespace lumetra::gui {

// OK, Cancel and no help button; a font button where the dialog edits a font.
class ChartEditDialog : public CheckedDialog {
  Q_OBJECT
public:
  ChartEditDialog(const QString& title, UserInterface& ui, QWidget* parent);

protected:
  // A button that lets the font dialog change font_.
  void AddFontButton();
  QFont font_;
};

class AxisGridDialog : public ChartEditDialog {
  Q_OBJECT
public:
  AxisGridDialog(UserInterface& ui, QWidget* parent);
  // Grid visibility, increment, label format and label font.
  std::optional<AxisSettings> Edit(const AxisSettings& axis);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QCheckBox* showGrid_;
  QLineEdit *increment_, *format_;
  double value_ = 0.0;
};

class AxisScaleDialog : public ChartEditDialog {
  Q_OBJECT
public:
  AxisScaleDialog(UserInterface& ui, QWidget* parent);
  // Automatic, or manual with the minimum and the maximum.
  std::optional<AxisSettings> Edit(const AxisSettings& axis);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QCheckBox* autoscale_;
  QLineEdit *min_, *max_;
  double minimum_ = 0.0, maximum_ = 1.0;
};

class ChartTextDialog : public ChartEditDialog {
  Q_OBJECT
public:
  ChartTextDialog(UserInterface& ui, QWidget* parent);
  // The text and its font.
  bool Edit(QString& text, QFont& font);

protected:
  bool Validate(FieldChecks&) override { return true; }

private:
  QLineEdit* text_;
};

class SeriesStyleDialog : public ChartEditDialog {
  Q_OBJECT
public:
  SeriesStyleDialog(UserInterface& ui, QWidget* parent);
  std::optional<SeriesStyle> Edit(const SeriesStyle& style);

protected:
  bool Validate(FieldChecks& checks) override;

private:
  QComboBox *lineType_, *marker_;
  QLineEdit *width_, *size_;
  QCheckBox* marks_;
  QColor color_;
  std::int32_t widthValue_ = 1, sizeValue_ = 1;
};

}  // namespace lumetra::gui
