#include "editor/layout_canvas.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "editor/layout_painting.h"

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
  PaintDrawSteps(p, steps, style_);
  update();
}

void LayoutCanvas::SetRubberBand(const QRect& band) {
  band_ = band;
  update();
}

void LayoutCanvas::SetHighlights(std::vector<Highlight> highlights) {
  highlights_ = std::move(highlights);
  update();
}

QColor LayoutCanvas::HighlightColour() { return QColor(255, 140, 0); }

void LayoutCanvas::ClearRubberBand() {
  band_.reset();
  update();
}

void LayoutCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), palette().window());
  p.drawImage(event->rect(), image_, event->rect());
  if (!highlights_.empty()) {
    // A broad outline just outside the item, in a colour the layout does not use.
    p.setPen(QPen(HighlightColour(), 2));
    p.setBrush(Qt::NoBrush);
    for (const Highlight& h : highlights_) {
      const QRect box = h.Box.adjusted(-2, -2, 2, 2);
      if (h.Round) p.drawEllipse(box);
      else p.drawRect(box);
    }
  }
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
  emit MousePressed(event->position().toPoint(), event->button(), event->modifiers());
}

void LayoutCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  emit MouseDoubleClicked(event->position().toPoint(), event->button());
}

void LayoutCanvas::wheelEvent(QWheelEvent* event) {
  emit WheelTurned(event->position().toPoint(), event->angleDelta().y());
  event->accept();
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
