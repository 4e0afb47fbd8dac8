#include "plots/pattern_canvas.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace lumetra::gui {

namespace {

// The value of each ring just right of the downward radial line, on a white patch
// so that neither grid nor curve runs through the text; the mark of angle 0 stands
// upright in the margin outside the outer ring, above the "0".
void DrawScaleTexts(QPainter& painter, const PolarGeometry& g, const PatternCurve& curve,
                    const QColor& gridColor) {
  painter.save();
  QFont small = painter.font();
  small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.85));
  painter.setFont(small);
  const QFontMetrics metrics(small);
  for (std::size_t k = 0; k < curve.RingLabels.size() && k < 5; ++k) {
    const int radius = static_cast<int>(std::lround(g.R * 0.2 * static_cast<double>(k + 1)));
    const QString text = QString::fromStdString(curve.RingLabels[k]);
    QRect box = metrics.boundingRect(text);
    box.moveTo(g.C + 3, g.C + radius - box.height() - 1);
    painter.fillRect(box.adjusted(-1, 0, 1, 0), QColor(255, 255, 255, 220));
    painter.setPen(gridColor);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
  }
  if (!curve.ZeroMark.empty()) {
    const QString mark = QString::fromStdString(curve.ZeroMark);
    painter.setPen(gridColor);
    painter.translate(g.D - 8, g.C - 10);
    painter.rotate(-90);
    painter.drawText(0, 0, mark);
  }
  painter.restore();
}

}  // namespace

void PaintPattern(QPainter& painter, int width, int height, const PatternCurve* curve,
                  const QColor& gridColor, const QColor& curveColor) {
  const PolarGeometry g = GridGeometry(width, height);
  painter.save();
  painter.translate(g.Left, g.Top);
  painter.fillRect(0, 0, g.D, g.D, Qt::white);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(gridColor, 0, Qt::DotLine));
  for (int k = 0; k < 12; ++k) {
    int x = 0, y = 0;
    g.RadialEnd(k, x, y);
    painter.drawLine(g.C, g.C, x, y);
  }
  painter.setPen(QPen(gridColor, 0, Qt::SolidLine));
  for (int k = 0; k < 5; ++k) {
    int left = 0, top = 0, right = 0, bottom = 0;
    g.CircleBox(k, left, top, right, bottom);
    // The box is given by its corners; Qt draws a w x h ellipse one pixel larger.
    painter.drawEllipse(left, top, right - left - 1, bottom - top - 1);
  }
  const QFontMetrics metrics(painter.font());
  const int ascent = metrics.ascent();
  painter.drawText(g.D - 23, g.C - 6 + ascent, "0");
  painter.drawText(g.C - 8, 12 + ascent, "90");
  painter.drawText(2, g.C - 6 + ascent, "180");
  painter.drawText(g.C - 12, g.D - 25 + ascent, "270");

  if (curve) DrawScaleTexts(painter, g, *curve, gridColor);

  if (curve && curve->Points.size() >= 2 && curve->Scaled.R.size() == curve->Points.size()) {
    const double k = curve->Scaled.PixelsPerUnit * g.R;
    QPainterPath path;
    for (std::size_t i = 0; i < curve->Points.size(); ++i) {
      int x = 0, y = 0;
      CurvePoint(g.C, curve->Points[i].Angle, curve->Scaled.R[i] * k, x, y);
      if (i == 0)
        path.moveTo(x, y);
      else
        path.lineTo(x, y);
    }
    painter.setPen(QPen(curveColor, 0, Qt::SolidLine));
    painter.drawPath(path);
  }
  painter.restore();
}

PatternCanvas::PatternCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("PaintBox2");
  setAutoFillBackground(true);
}

void PatternCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintPattern(painter, width(), height(), curve_, GridColor, CurveColor);
}

}  // namespace lumetra::gui
