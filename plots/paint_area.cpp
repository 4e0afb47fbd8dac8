#include "plots/paint_area.h"

#include <QPainter>

namespace lumetra::gui {

void PaintArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (OnPaint) OnPaint(painter);
}

}  // namespace lumetra::gui
