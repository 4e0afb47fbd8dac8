#include "editor/hints.h"

#include <QAction>
#include <QWidget>

namespace lumetra::gui {

namespace {

QString ShortHint(const QString& hint) {
  const qsizetype bar = hint.indexOf('|');
  return bar < 0 ? hint : hint.left(bar);
}

}  // namespace

QString LongHint(const QString& hint) {
  const qsizetype bar = hint.indexOf('|');
  return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(ShortHint(hint));
  // Qt sends the status tip up to the main window whenever the mouse enters.
  widget->setStatusTip(LongHint(hint));
}

void SetHint(QAction* action, const QString& hint) {
  action->setStatusTip(LongHint(hint));
}

}  // namespace lumetra::gui
