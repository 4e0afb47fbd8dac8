#include "plots/pattern_canvas.h"

#include <QPainter>
#include <QPainterPath>

namespace lumetra::gui {

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
