// The main window's status bar: panel 0 the short state texts, panel 1 the long
// hint of the control under the mouse, panel 2 the progress and mouse position.
#pragma once

#include <QStatusBar>

#include "model/user_interface.h"

class QLabel;

namespace lumetra::gui {

class MainStatusBar : public QStatusBar {
  Q_OBJECT
public:
  explicit MainStatusBar(QWidget* parent);

  void SetText(StatusPanel panel, const QString& text);
  QString Text(StatusPanel panel) const;

private:
  QLabel* panels_[3];
};

}  // namespace lumetra::gui
