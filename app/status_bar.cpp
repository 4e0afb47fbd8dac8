#include "app/status_bar.h"

#include <QLabel>

namespace lumetra::gui {

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName("StatusBar");
  const int widths[] = {90, 430, 50};
  for (int k = 0; k < 3; ++k) {
    panels_[k] = new QLabel(this);
    panels_[k]->setObjectName(QString("StatusPanel%1").arg(k));
    panels_[k]->setFrameShape(QFrame::Panel);
    panels_[k]->setFrameShadow(QFrame::Sunken);
    panels_[k]->setMinimumWidth(widths[k]);
    // The last panel takes what is left: the mouse position with the drawn size
    // needs more than its nominal width.
    addWidget(panels_[k], k == 2 ? 1 : 0);
  }
  panels_[1]->setFixedWidth(widths[1]);
}

void MainStatusBar::SetText(StatusPanel panel, const QString& text) {
  QLabel* label = panels_[static_cast<int>(panel)];
  label->setText(text);
  label->repaint();
}

QString MainStatusBar::Text(StatusPanel panel) const {
  return panels_[static_cast<int>(panel)]->text();
}

}  // namespace lumetra::gui
