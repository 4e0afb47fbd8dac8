#include "editor/layout_canvas.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lumetra::gui {

LayoutCanvas::LayoutCanvas(const LayoutStyle& style, QWidget* parent)
    : QWidget(parent), style_(style) {
  setObjectName("BoardArea");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LayoutCanvas::Repaint(const std::vector<DrawStep>& steps) {
  image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image_.fill(Qt::white);
  Paint(steps);
}

void LayoutCanvas::PaintOver(const std::vector<DrawStep>& steps) { Paint(steps); }

void LayoutCanvas::Paint(const std::vector<DrawStep>& steps) {
  QPainter p(&image_);
  p.setFont(style_.Font);
  const QPen black(Qt::black, 0);
  for (const DrawStep& s : steps) {
    const QColor colour = style_.ColourOf(s.Role);
    // Rectangles and ellipses cover X1..X2-1 and Y1..Y2-1 like the board's pixels.
    const QRect box(QPoint(s.X1, s.Y1), QPoint(s.X2 - 1, s.Y2 - 1));
    switch (s.Kind) {
      case DrawKind::Outline:
        p.fillRect(box, Qt::white);
        p.setPen(black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        break;
      case DrawKind::FilledRect:
        p.fillRect(box, colour);
        p.setPen(black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        break;
      case DrawKind::Ellipse:
        p.setPen(black);
        p.setBrush(colour);
        p.drawEllipse(box);
        break;
      case DrawKind::Line:
        p.setPen(QPen(colour, 0));
        p.drawLine(s.X1, s.Y1, s.X2, s.Y2);
        break;
      case DrawKind::Pixel:
        p.setPen(QPen(colour, 0));
        p.drawPoint(s.X1, s.Y1);
        break;
      case DrawKind::Text:
        p.setPen(s.WhiteText ? QColor(Qt::white) : colour);
        p.drawText(QRect(s.X1, s.Y1, 1000, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                   QString::fromStdString(s.Label));
        break;
    }
  }
  update();
}

void LayoutCanvas::SetRubberBand(const QRect& band) {
  band_ = band;
  update();
}

void LayoutCanvas::ClearRubberBand() {
  band_.reset();
  update();
}

void LayoutCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), palette().window());
  p.drawImage(event->rect(), image_, event->rect());
  if (band_) {
    // Inverting the pixels under the band keeps it visible on any colour.
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(band_->normalized());
  }
}

void LayoutCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (image_.size() != size()) {
    // Keep what was drawn until the owner redraws for the new size.
    QImage resized(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    resized.fill(Qt::white);
    QPainter(&resized).drawImage(0, 0, image_);
    image_ = resized;
  }
}

void LayoutCanvas::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(event->position().toPoint(), event->button());
}

void LayoutCanvas::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved(event->position().toPoint());
}

void LayoutCanvas::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(event->position().toPoint(), event->button());
}

void LayoutCanvas::contextMenuEvent(QContextMenuEvent* event) {
  emit MenuRequested(event->globalPos());
}

}  // namespace lumetra::gui
