#include "editor/cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lumetra::gui {

namespace {

constexpr int Size = 32;

QPixmap Blank() {
  QPixmap pixmap(Size, Size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A small arrow with its tip at the top-left corner, the hot spot of the placing
// cursors: the element under the tip is the one that gets the item.
void Arrow(QPainter& p) {
  QPainterPath path;
  path.moveTo(0, 0);
  path.lineTo(0, 13);
  path.lineTo(3, 10);
  path.lineTo(6, 15);
  path.lineTo(8, 14);
  path.lineTo(5, 9);
  path.lineTo(9, 9);
  path.closeSubpath();
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::black);
  p.drawPath(path);
}

QPen Outlined(int width) { return QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap); }

QCursor HandGrab() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(Qt::white);
  // Four bent fingers over a palm, seen from the back of the hand.
  for (int f = 0; f < 4; ++f) p.drawRoundedRect(QRectF(7 + f * 4.5, 8, 4.5, 8), 2, 2);
  p.drawRoundedRect(QRectF(7, 12, 18, 12), 4, 4);
  p.drawRoundedRect(QRectF(3, 13, 6, 5), 2, 2);  // thumb
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(7.6, 12.6, 16.8, 3));
  return QCursor(pixmap, 16, 16);
}

QCursor VoltGen() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  Arrow(p);
  p.setPen(Outlined(1));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(12, 12, 16, 16));
  QPainterPath wave;  // one period of a sine inside the source circle
  wave.moveTo(14.5, 20);
  wave.cubicTo(16.5, 14, 18.5, 14, 20, 20);
  wave.cubicTo(21.5, 26, 23.5, 26, 25.5, 20);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::blue, 1.5));
  p.drawPath(wave);
  return QCursor(pixmap, 0, 0);
}

QCursor ZImpedance() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  Arrow(p);
  p.setPen(Outlined(1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(12, 15, 17, 10));
  QFont font;
  font.setPixelSize(9);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(12, 15, 17, 10), Qt::AlignCenter, "Z");
  return QCursor(pixmap, 0, 0);
}

QCursor Ground() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  Arrow(p);
  p.setPen(Outlined(2));
  p.drawLine(20, 12, 20, 20);
  p.drawLine(13, 20, 27, 20);
  p.drawLine(15, 24, 25, 24);
  p.drawLine(18, 28, 22, 28);
  return QCursor(pixmap, 0, 0);
}

}  // namespace

const QCursor& CursorFor(EditorCursor which) {
  static const QCursor cursors[] = {HandGrab(), VoltGen(), ZImpedance(), Ground()};
  return cursors[static_cast<int>(which)];
}

}  // namespace lumetra::gui
