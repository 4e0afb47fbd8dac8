#include "app/window_placement.h"

#include <QWidget>

namespace lumetra::gui {

void ShowCentredOnOwner(QWidget* window) {
  if (!window) return;
  QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  if (owner && !window->isVisible()) {
    // A window never given a size takes its layout's; one sized on purpose keeps it.
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    const QRect frame = owner->frameGeometry();
    window->move(frame.center() - QPoint(window->width() / 2, window->height() / 2));
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace lumetra::gui
