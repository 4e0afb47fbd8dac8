#include "plots/utility_chart.h"

#include <QChart>
#include <QGraphicsLineItem>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace lumetra::gui {

namespace {

// The marker of a series as the picture Qt Charts draws at every point.
QImage MarkerImage(MarkerShape shape, const QColor& color) {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(color, 3));
  p.setBrush(color);
  const QRectF r(3, 3, 26, 26);
  const QPointF c = r.center();
  const auto crossed = [&](bool straight, bool diagonal) {
    if (straight) {
      p.drawLine(QPointF(c.x(), r.top()), QPointF(c.x(), r.bottom()));
      p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
    }
    if (diagonal) {
      p.drawLine(r.topLeft(), r.bottomRight());
      p.drawLine(r.topRight(), r.bottomLeft());
    }
  };
  switch (shape) {
    case MarkerShape::Rectangle: p.drawRect(r); break;
    case MarkerShape::Circle: p.drawEllipse(r); break;
    case MarkerShape::Triangle:
      p.drawPolygon(QPolygonF({QPointF(c.x(), r.top()), r.bottomRight(), r.bottomLeft()}));
      break;
    case MarkerShape::DownTriangle:
      p.drawPolygon(QPolygonF({r.topLeft(), r.topRight(), QPointF(c.x(), r.bottom())}));
      break;
    case MarkerShape::Cross: crossed(true, false); break;
    case MarkerShape::DiagCross: crossed(false, true); break;
    case MarkerShape::Star: crossed(true, true); break;
    case MarkerShape::Diamond:
      p.drawPolygon(QPolygonF({QPointF(c.x(), r.top()), QPointF(r.right(), c.y()),
                               QPointF(c.x(), r.bottom()), QPointF(r.left(), c.y())}));
      break;
  }
  return image;
}

QPointF RangeOf(const QAbstractAxis* axis) {
  if (const auto* v = qobject_cast<const QValueAxis*>(axis)) return {v->min(), v->max()};
  if (const auto* l = qobject_cast<const QLogValueAxis*>(axis)) return {l->min(), l->max()};
  return {};
}

void SetRange(QAbstractAxis* axis, QPointF range) { axis->setRange(range.x(), range.y()); }

// More ticks than this at the chosen increment fall back to the chart's own.
constexpr double MaxTicks = 200;

void UpdateTicks(QAbstractAxis* axis, double increment) {
  auto* v = qobject_cast<QValueAxis*>(axis);
  if (!v) return;
  const double span = v->max() - v->min();
  if (increment > 0 && span / increment <= MaxTicks) {
    v->setTickAnchor(0.0);
    v->setTickInterval(increment);
    v->setTickType(QValueAxis::TicksDynamic);
  } else {
    v->setTickType(QValueAxis::TicksFixed);
  }
}

}  // namespace

UtilityChart::UtilityChart(QWidget* parent) : QChartView(parent) {
  setObjectName("Chart1");
  auto* chart = new QChart;
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundRoundness(0);
  chart->legend()->setAlignment(Qt::AlignRight);
  chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
  setChart(chart);
  setRenderHint(QPainter::Antialiasing);
  // Zoom by dragging; a click on a curve still reaches the curve (Edit style).
  setRubberBand(QChartView::RubberBands(QChartView::RectangleRubberBand) |
                QChartView::ClickThroughRubberBand);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);

  const QValueAxis probe;  // the default fonts of an axis
  for (AxisSettings& s : axes_) {
    s.LabelFont = probe.labelsFont();
    s.TitleFont = probe.titleFont();
  }
  const char* titles[] = {"Real", "Imag", "Amp", "Phase"};
  const Qt::PenStyle pens[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine};
  const MarkerShape markers[] = {MarkerShape::Circle, MarkerShape::Rectangle, MarkerShape::Star,
                                 MarkerShape::Diamond};
  for (int i = 0; i < SeriesCount; ++i) {
    auto* series = new QLineSeries;
    series->setName(titles[i]);
    series_[static_cast<std::size_t>(i)] = series;
    chart->addSeries(series);
    styles_[static_cast<std::size_t>(i)].Pen = pens[i];
    styles_[static_cast<std::size_t>(i)].Marker = markers[i];
    ApplyStyle(i);
    series->setVisible(i == 0);
    connect(series, &QLineSeries::clicked, this, [this, i] { emit SeriesClicked(i); });
  }
  const char* polarTitles[] = {"ETheta", "EPhi", "Etot"};
  for (std::size_t i = 0; i < polar_.size(); ++i) {
    polar_[i] = new QLineSeries(this);
    polar_[i]->setName(polarTitles[i]);
  }
  // The phase runs over its own fixed range on the right, in degrees, so that the
  // amplitude keeps the whole height of the left axis.
  phaseAxis_ = new QValueAxis;
  phaseAxis_->setObjectName("PhaseAxis");
  phaseAxis_->setRange(-180.0, 180.0);
  phaseAxis_->setTickType(QValueAxis::TicksDynamic);
  phaseAxis_->setTickAnchor(0.0);
  phaseAxis_->setTickInterval(45.0);
  phaseAxis_->setLabelFormat("%.0f");
  phaseAxis_->setMinorTickCount(0);
  phaseAxis_->setGridLineVisible(false);
  phaseAxis_->setTitleText("Phase [deg]");
  chart->addAxis(phaseAxis_, Qt::AlignRight);
  ApplyAxis(true);
  ApplyAxis(false);
  series_[3]->attachAxis(phaseAxis_);
  UpdatePhaseAxis();

  const QPen red(Qt::red, 1);
  vertical_ = new QGraphicsLineItem(chart);
  horizontal_ = new QGraphicsLineItem(chart);
  for (QGraphicsLineItem* line : {vertical_, horizontal_}) {
    line->setPen(red);
    line->setZValue(1000);
    line->hide();
  }
  // A chart laid out anew has no crosshair drawn.
  connect(chart, &QChart::plotAreaChanged, this, &UtilityChart::HideCrosshair);
  Rescale();
}

void UtilityChart::ClearSeries() {
  for (QLineSeries* s : series_) s->clear();
  for (QLineSeries* s : polar_) s->clear();
  Rescale();
}

void UtilityChart::SetCurves(const PlotCurves& curves) {
  for (int i = 0; i < SeriesCount; ++i) {
    const PlotCurve& curve = curves.Series[static_cast<std::size_t>(i)];
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(curve.X.size()));
    for (std::size_t n = 0; n < curve.X.size(); ++n) points.append({curve.X[n], curve.Y[n]});
    Series(i)->replace(points);
  }
  chart()->setTitle(QString::fromStdString(curves.Title));
  axes_[1].Title = QString::fromStdString(curves.BottomAxisTitle);
  AxisObject(true)->setTitleText(axes_[1].Title);
  Rescale();
}

void UtilityChart::SetSeriesActive(int index, bool active) {
  Series(index)->setVisible(active);
  UpdatePhaseAxis();
  Rescale();
}

void UtilityChart::UpdatePhaseAxis() {
  if (phaseAxis_) phaseAxis_->setVisible(series_[3]->isVisible());
}

void UtilityChart::SetStyle(int index, const SeriesStyle& style) {
  styles_[static_cast<std::size_t>(index)] = style;
  ApplyStyle(index);
}

void UtilityChart::ApplyStyle(int index) {
  const SeriesStyle& s = styles_[static_cast<std::size_t>(index)];
  QLineSeries* series = Series(index);
  series->setPen(QPen(s.Color, s.Width, s.Pen));
  series->setMarkerSize(s.MarkerSize);
  series->setLightMarker(s.Marks ? MarkerImage(s.Marker, s.Color) : QImage());
}

QAbstractAxis* UtilityChart::AxisObject(bool x) const {
  for (QAbstractAxis* axis : chart()->axes(x ? Qt::Horizontal : Qt::Vertical))
    if (axis != phaseAxis_) return axis;
  return nullptr;
}

AxisSettings UtilityChart::Axis(bool x) const {
  AxisSettings s = axes_[x];
  const QPointF range = RangeOf(AxisObject(x));
  s.Minimum = range.x();
  s.Maximum = range.y();
  return s;
}

void UtilityChart::SetAxis(bool x, const AxisSettings& settings) {
  axes_[x] = settings;
  ApplyAxis(x);
  Rescale();
}

void UtilityChart::ApplyAxis(bool x) {
  const AxisSettings& s = axes_[x];
  QAbstractAxis* axis = AxisObject(x);
  if (!axis || (axis->type() == QAbstractAxis::AxisTypeLogValue) != s.Logarithmic) {
    // Qt Charts has one axis class per scale: the axis is replaced.
    if (axis) {
      chart()->removeAxis(axis);
      delete axis;
    }
    axis = s.Logarithmic ? static_cast<QAbstractAxis*>(new QLogValueAxis) : new QValueAxis;
    chart()->addAxis(axis, x ? Qt::AlignBottom : Qt::AlignLeft);
    // The phase shares the bottom axis but has the right-hand one of its own.
    for (QLineSeries* series : series_)
      if (x || series != series_[3]) series->attachAxis(axis);
  }
  axis->setGridLineVisible(s.Grid);
  axis->setLabelsFont(s.LabelFont);
  axis->setTitleText(s.Title);
  axis->setTitleFont(s.TitleFont);
  if (auto* v = qobject_cast<QValueAxis*>(axis)) {
    v->setLabelFormat(s.LabelFormat);
    v->setMinorTickCount(0);
  } else if (auto* l = qobject_cast<QLogValueAxis*>(axis)) {
    l->setLabelFormat(s.LabelFormat);
    l->setMinorTickCount(0);
  }
  UpdateTicks(axis, s.Increment);
}

void UtilityChart::Rescale() {
  for (bool x : {false, true}) {
    const AxisSettings& s = axes_[x];
    QAbstractAxis* axis = AxisObject(x);
    double lo = s.Minimum, hi = s.Maximum;
    if (s.Automatic) {
      lo = std::numeric_limits<double>::infinity();
      hi = -lo;
      for (QLineSeries* series : series_) {
        if (!series->isVisible()) continue;
        if (!x && series == series_[3]) continue;  // on the right-hand axis
        for (const QPointF& p : series->points()) {
          const double v = x ? p.x() : p.y();
          if (s.Logarithmic && v <= 0) continue;  // not on a logarithmic scale
          lo = std::min(lo, v);
          hi = std::max(hi, v);
        }
      }
      if (lo > hi) {
        lo = s.Logarithmic ? 1.0 : 0.0;
        hi = s.Logarithmic ? 10.0 : 1.0;
      }
    }
    if (s.Logarithmic && lo <= 0) lo = hi > 0 ? hi / 1000 : 1.0;
    if (hi <= lo) {
      const double d = s.Logarithmic ? 0.0 : (lo == 0 ? 1.0 : std::abs(lo) / 10);
      lo = s.Logarithmic ? lo / 2 : lo - d;
      hi = s.Logarithmic ? hi * 2 : hi + d;
    }
    SetRange(axis, {lo, hi});
    if (auto* v = qobject_cast<QValueAxis*>(axis); v && s.Automatic && s.Increment <= 0)
      v->applyNiceNumbers();
    UpdateTicks(axis, s.Increment);
    home_[x] = RangeOf(axis);
  }
  if (phaseAxis_) phaseAxis_->setRange(-180.0, 180.0);
}

void UtilityChart::UndoZoom() {
  for (bool x : {false, true}) {
    SetRange(AxisObject(x), home_[x]);
    UpdateTicks(AxisObject(x), axes_[x].Increment);
  }
  if (phaseAxis_) phaseAxis_->setRange(-180.0, 180.0);
}

bool UtilityChart::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
  if (key == Qt::Key_Space) {
    UndoZoom();
    return true;
  }
  if (modifiers & Qt::ShiftModifier) {
    if (key == Qt::Key_Left || key == Qt::Key_Up) {
      chart()->zoom(1.1);
      return true;
    }
    if (key == Qt::Key_Right || key == Qt::Key_Down) {
      chart()->zoom(0.9);
      return true;
    }
  }
  // Parts of the range by which the view moves: x to the right, y upwards.
  double dx = 0, dy = 0;
  switch (key) {
    case Qt::Key_Left: dx = 0.01; break;
    case Qt::Key_Right: dx = -0.01; break;
    case Qt::Key_Up: dy = -0.01; break;
    case Qt::Key_Down: dy = 0.01; break;
    case Qt::Key_PageUp: dy = -0.1; break;
    case Qt::Key_PageDown: dy = 0.1; break;
    default: return false;
  }
  const QRectF area = chart()->plotArea();
  chart()->scroll(dx * area.width(), dy * area.height());
  return true;
}

void UtilityChart::SetCrosshair(bool on) {
  crosshair_ = on;
  setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
  HideCrosshair();
}

void UtilityChart::HideCrosshair() {
  vertical_->hide();
  horizontal_->hide();
}

void UtilityChart::mouseMoveEvent(QMouseEvent* event) {
  QChartView::mouseMoveEvent(event);
  if (!crosshair_) return;
  // The previous crosshair goes; a new one is drawn where the pointer is.
  HideCrosshair();
  const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
  const QRectF area = chart()->plotArea();
  if (!area.contains(at)) return;
  // On a pixel's centre, so that the antialiased line stays one red pixel wide.
  const double x = std::floor(at.x()) + 0.5, y = std::floor(at.y()) + 0.5;
  vertical_->setLine(x, area.top(), x, area.bottom());
  horizontal_->setLine(area.left(), y, area.right(), y);
  vertical_->show();
  horizontal_->show();
  const QPointF value = chart()->mapToValue(at, Series(0));
  emit CrosshairMoved(value.x(), value.y());
}

void UtilityChart::leaveEvent(QEvent* event) {
  HideCrosshair();
  QChartView::leaveEvent(event);
}

void UtilityChart::Render(QPainter& painter, const QRectF& target) {
  HideCrosshair();
  scene()->render(&painter, target, sceneRect());
}

}  // namespace lumetra::gui
