// The drawing surface of a plot page: it paints and handles the mouse through the
// functions its page gives it, so the page keeps all state in one place.
#pragma once

#include <QWidget>
#include <functional>

class QPainter;
class QMouseEvent;

namespace lumetra::gui {

class PaintArea : public QWidget {
  Q_OBJECT
public:
  explicit PaintArea(QWidget* parent = nullptr) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  std::function<void(QPainter&)> OnPaint;
  std::function<void(QMouseEvent*)> OnPress, OnMove, OnRelease;

protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override {
    if (OnPress) OnPress(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (OnMove) OnMove(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (OnRelease) OnRelease(e);
  }
};

}  // namespace lumetra::gui
