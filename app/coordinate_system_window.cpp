#include "app/coordinate_system_window.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace lumetra::gui {

CoordinateSystemWindow::CoordinateSystemWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool) {
  setObjectName("CoordinateSystem");
  setWindowTitle("Coordinate system");
  // The drawing takes the top; the caption below gets as many lines as the font
  // needs, so it is never clipped.
  const QRect caption = fontMetrics().boundingRect(QRect(0, 0, CaptionWidth, 1000),
                                                   Qt::TextWordWrap, CaptionText());
  setFixedSize(CaptionWidth + 20, CaptionTop + caption.height() + 12);
}

QString CoordinateSystemWindow::CaptionText() {
  return QString::fromUtf8("\u03b8 from the board normal +z, \u03c6 from +x in the board "
                           "plane; the board lies in z = 0.");
}

namespace {

void Arrow(QPainter& p, QPointF from, QPointF to, const QString& name) {
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
  const QPointF n(-d.y(), d.x());
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(to - 10 * d + 4 * n);
  head.lineTo(to - 10 * d - 4 * n);
  head.closeSubpath();
  p.fillPath(head, p.pen().color());
  p.drawText(to + 8 * d + QPointF(-4, 5), name);
}

}  // namespace

void CoordinateSystemWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);
  const QPointF o(170, 200);
  // The board in the plane z = 0, seen obliquely; the ground plane lies below it.
  QPolygonF board({o + QPointF(-110, 40), o + QPointF(90, 40), o + QPointF(150, -30),
                   o + QPointF(-50, -30)});
  p.setPen(QPen(QColor(0, 90, 50), 1));
  p.setBrush(QColor(200, 230, 210));
  p.drawPolygon(board);
  p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(board.translated(0, 70));
  p.drawText(QRectF(o.x() - 110, o.y() + 114, 300, fontMetrics().height() + 2),
             Qt::AlignLeft | Qt::AlignVCenter, "ground plane (z = -h)");

  p.setPen(QPen(Qt::black, 1.5));
  const QPointF x = o + QPointF(150, 0), y = o + QPointF(80, -80), z = o + QPointF(0, -170);
  Arrow(p, o, x, "x");
  Arrow(p, o, y, "y");
  Arrow(p, o, z, "z");

  // A direction of observation with its angles.
  const QPointF r = o + QPointF(90, -120);
  p.setPen(QPen(Qt::red, 1.5));
  Arrow(p, o, r, "r");
  p.setPen(QPen(Qt::red, 1, Qt::DotLine));
  const QPointF foot = o + QPointF(90, 10);
  p.drawLine(r, foot);
  p.drawLine(o, foot);
  p.setPen(QPen(Qt::blue, 1.2));
  p.drawArc(QRectF(o.x() - 45, o.y() - 45, 90, 90), 90 * 16, -37 * 16);
  p.drawText(o + QPointF(12, -52), QString::fromUtf8("\u03b8"));
  p.drawArc(QRectF(o.x() - 60, o.y() - 22, 120, 44), 0, -25 * 16);
  p.drawText(o + QPointF(64, 24), QString::fromUtf8("\u03c6"));
  p.setPen(Qt::black);
  p.drawText(QRectF(10, CaptionTop, CaptionWidth, height() - CaptionTop), Qt::TextWordWrap,
             CaptionText());
}

}  // namespace lumetra::gui
