// The chart of the plot utility (Chart1) on Qt Charts: four line
// series with styles and markers, a bottom and a left axis that can be automatic
// or manual, linear or logarithmic, with grid, increment, label format and fonts,
// a legend, zoom by dragging, keyboard scrolling and zooming, a crosshair drawn as
// an overlay, and rendering for printing and pictures.
#pragma once

#include <QChartView>
#include <QColor>
#include <QFont>
#include <QString>
#include <array>

#include "fields/plot_cuts.h"

class QGraphicsLineItem;
class QLineSeries;
class QAbstractAxis;
class QValueAxis;

namespace lumetra::gui {

struct AxisSettings {
  bool Automatic = true;
  double Minimum = 0.0, Maximum = 1.0;
  bool Logarithmic = false;
  bool Grid = true;
  double Increment = 0.0;  // 0: the chart chooses the ticks
  // printf form of the labels: plain numbers while they stay short ("0.05",
  // "1200"), exponent form for very small or large values ("1e-06").
  QString LabelFormat = "%g";
  QFont LabelFont;
  QString Title;
  QFont TitleFont;
};

// The marker styles of the "Edit style" dialog in its order, and the diamond.
enum class MarkerShape {
  Rectangle,
  Circle,
  Triangle,
  DownTriangle,
  Cross,
  DiagCross,
  Star,
  Diamond
};

struct SeriesStyle {
  QColor Color = Qt::black;
  int Width = 1;
  Qt::PenStyle Pen = Qt::SolidLine;
  bool Marks = false;
  int MarkerSize = 7;
  MarkerShape Marker = MarkerShape::Circle;
};

class UtilityChart : public QChartView {
  Q_OBJECT
public:
  explicit UtilityChart(QWidget* parent);

  static constexpr int SeriesCount = 4;
  QLineSeries* Series(int index) const { return series_[static_cast<std::size_t>(index)]; }
  // Clears the four line series and the three (never shown) polar series.
  void ClearSeries();
  // Puts the curves into the series with the chart and bottom axis titles.
  void SetCurves(const PlotCurves& curves);
  void SetSeriesActive(int index, bool active);

  SeriesStyle Style(int index) const { return styles_[static_cast<std::size_t>(index)]; }
  void SetStyle(int index, const SeriesStyle& style);

  // The settings of the bottom (x) or left axis, with the range now shown.
  AxisSettings Axis(bool x) const;
  // The right-hand axis of the phase; shown only while the phase is.
  QValueAxis* PhaseAxis() const { return phaseAxis_; }
  void SetAxis(bool x, const AxisSettings& settings);

  // Sets the automatic axes to the active series' range and makes the ranges now
  // set the ones that UndoZoom returns to.
  void Rescale();
  void UndoZoom();
  // Space, PageUp, PageDown and the arrows (with Shift: zoom); false for other keys.
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers);

  void SetCrosshair(bool on);
  // The chart without the crosshair into target (printing, pictures).
  void Render(QPainter& painter, const QRectF& target);

signals:
  // The pointer on the plotting rectangle while the crosshair is on, in values of
  // Series1's axes.
  void CrosshairMoved(double x, double y);
  void SeriesClicked(int index);

protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  QAbstractAxis* AxisObject(bool x) const;
  void UpdatePhaseAxis();
  void ApplyAxis(bool x);
  void ApplyStyle(int index);
  void HideCrosshair();

  std::array<QLineSeries*, SeriesCount> series_{};
  std::array<QLineSeries*, 3> polar_{};
  // The phase (series 4) in degrees on its own right-hand axis, -180..180.
  QValueAxis* phaseAxis_ = nullptr;
  std::array<SeriesStyle, SeriesCount> styles_;
  std::array<AxisSettings, 2> axes_;  // [0] left, [1] bottom
  std::array<QPointF, 2> home_;       // unzoomed (min, max) of left and bottom axis
  bool crosshair_ = false;
  QGraphicsLineItem *vertical_ = nullptr, *horizontal_ = nullptr;
};

}  // namespace lumetra::gui
