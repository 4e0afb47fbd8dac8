// Hints of controls and menu entries: "short|long". The short part is the tool tip,
// the long part goes to the status bar (panel 1) while the mouse is over the control.
#pragma once

#include <QString>

class QAction;
class QWidget;

namespace lumetra::gui {

void SetHint(QWidget* widget, const QString& hint);
void SetHint(QAction* action, const QString& hint);

// The long part of a hint (the whole text when it has no "|").
QString LongHint(const QString& hint);

}  // namespace lumetra::gui
