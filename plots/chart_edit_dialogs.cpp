#include "plots/chart_edit_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumetra::gui {

namespace {

constexpr double Huge = 1e300;

QCheckBox* AddCheckBox(QDialog* dialog, QFormLayout* form, const char* name,
                       const QString& caption) {
  auto* box = new QCheckBox(caption, dialog);
  box->setObjectName(name);
  form->addRow(box);
  return box;
}

}  // namespace

ChartEditDialog::ChartEditDialog(const QString& title, UserInterface& ui, QWidget* parent)
    : CheckedDialog(title, 0, ui, parent) {
  if (auto* help = findChild<QPushButton*>("HelpBtn")) help->hide();
}

void ChartEditDialog::AddFontButton() {
  auto* button = new QPushButton("Font...", this);
  button->setObjectName("FontBtn");
  Form()->addRow(button);
  connect(button, &QPushButton::clicked, this, [this] {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font_, this);
    if (ok) font_ = chosen;
  });
}

AxisGridDialog::AxisGridDialog(UserInterface& ui, QWidget* parent)
    : ChartEditDialog("Grid properties", ui, parent) {
  setObjectName("TSetGrid");
  showGrid_ = AddCheckBox(this, Form(), "ShowGrid", "Show grid");
  increment_ = AddField("Inc", "Increment:");
  format_ = AddField("format", "Label format:");
  AddFontButton();
}

std::optional<AxisSettings> AxisGridDialog::Edit(const AxisSettings& axis) {
  showGrid_->setChecked(axis.Grid);
  increment_->setText(NumberText(axis.Increment));
  format_->setText(axis.LabelFormat);
  font_ = axis.LabelFont;
  if (exec() != QDialog::Accepted) return std::nullopt;
  AxisSettings edited = axis;
  edited.Grid = showGrid_->isChecked();
  edited.Increment = value_;
  edited.LabelFormat = format_->text();
  edited.LabelFont = font_;
  return edited;
}

bool AxisGridDialog::Validate(FieldChecks& checks) {
  // 0 (or less) leaves the ticks to the chart.
  return checks.Real(increment_, "Increment", -Huge, Huge, &value_);
}

AxisScaleDialog::AxisScaleDialog(UserInterface& ui, QWidget* parent)
    : ChartEditDialog("Axis scale", ui, parent) {
  setObjectName("TScale");
  autoscale_ = AddCheckBox(this, Form(), "Autoscale", "Autoscale");
  min_ = AddField("min", "Min:");
  max_ = AddField("max", "Max:");
}

std::optional<AxisSettings> AxisScaleDialog::Edit(const AxisSettings& axis) {
  autoscale_->setChecked(axis.Automatic);
  min_->setText(NumberText(axis.Minimum));
  max_->setText(NumberText(axis.Maximum));
  if (exec() != QDialog::Accepted) return std::nullopt;
  AxisSettings edited = axis;
  edited.Automatic = autoscale_->isChecked();
  if (!edited.Automatic) {
    edited.Minimum = minimum_;
    edited.Maximum = maximum_;
  }
  return edited;
}

bool AxisScaleDialog::Validate(FieldChecks& checks) {
  if (autoscale_->isChecked()) return true;
  // The maximum must lie above the minimum, said the way every range check says it.
  return checks.Real(min_, "Min", -Huge, Huge, &minimum_) &&
         checks.Real(max_, "Max", minimum_, Huge, &maximum_);
}

ChartTextDialog::ChartTextDialog(UserInterface& ui, QWidget* parent)
    : ChartEditDialog("Edit text", ui, parent) {
  setObjectName("TEditTitle");
  text_ = AddField("Edit1", QString());
  text_->setMinimumWidth(320);
  AddFontButton();
}

bool ChartTextDialog::Edit(QString& text, QFont& font) {
  text_->setText(text);
  font_ = font;
  text_->setFocus();
  if (exec() != QDialog::Accepted) return false;
  text = text_->text();
  font = font_;
  return true;
}

SeriesStyleDialog::SeriesStyleDialog(UserInterface& ui, QWidget* parent)
    : ChartEditDialog("Edit style", ui, parent) {
  setObjectName("TEditLine");
  lineType_ = new QComboBox(this);
  lineType_->setObjectName("ComboBox1");
  lineType_->addItems({"Solid", "Dash", "Dot", "DashDot", "DashDotDot"});
  Form()->addRow("Line type:", lineType_);
  width_ = AddField("Edit1", "Line width:");
  marker_ = new QComboBox(this);
  marker_->setObjectName("ComboBox2");
  marker_->addItems(
      {"Rectangle", "Circle", "Triangle", "DownTriangle", "Cross", "DiagCross", "Star"});
  Form()->addRow("Marker:", marker_);
  size_ = AddField("Edit2", "Size:");
  marks_ = AddCheckBox(this, Form(), "CheckBox1", "Show marks");
  auto* color = new QPushButton("Color...", this);
  color->setObjectName("ColorBtn");
  Form()->addRow(color);
  connect(color, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(color_, this);
    if (chosen.isValid()) color_ = chosen;
  });
}

std::optional<SeriesStyle> SeriesStyleDialog::Edit(const SeriesStyle& style) {
  // Qt::SolidLine .. Qt::DashDotDotLine are 1..5, the order of the list.
  lineType_->setCurrentIndex(std::clamp(static_cast<int>(style.Pen) - 1, 0, 4));
  width_->setText(QString::number(style.Width));
  // The diamond is not in the list: no entry is shown for it.
  marker_->setCurrentIndex(style.Marker == MarkerShape::Diamond ? -1
                                                                : static_cast<int>(style.Marker));
  size_->setText(QString::number(style.MarkerSize));
  marks_->setChecked(style.Marks);
  color_ = style.Color;
  if (exec() != QDialog::Accepted) return std::nullopt;
  SeriesStyle edited = style;
  edited.Pen = static_cast<Qt::PenStyle>(lineType_->currentIndex() + 1);
  edited.Width = widthValue_;
  if (marker_->currentIndex() >= 0)
    edited.Marker = static_cast<MarkerShape>(marker_->currentIndex());
  edited.MarkerSize = sizeValue_;
  edited.Marks = marks_->isChecked();
  edited.Color = color_;
  return edited;
}

bool SeriesStyleDialog::Validate(FieldChecks& checks) {
  const bool width = checks.Integer(width_, "Line width", -1, 100, &widthValue_);
  const bool size = checks.Integer(size_, "Size", 0, 100, &sizeValue_);
  return width && size;
}

}  // namespace lumetra::gui
