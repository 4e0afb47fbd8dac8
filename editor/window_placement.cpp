#include "editor/window_placement.h"

#include <QWidget>

namespace lumetra::gui {

void ShowCentredOnOwner(QWidget* window) {
  if (!window) return;
  QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  if (owner && !window->isVisible()) {
    // A window never given a size takes its layout's; one sized on purpose keeps it.
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    // The size it will show at: never below what its layout needs.
    const QSize size = window->size().expandedTo(window->minimumSizeHint());
    window->resize(size);
    const QRect frame = owner->frameGeometry();
    window->move(frame.center() - QPoint(size.width() / 2, size.height() / 2));
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace lumetra::gui
