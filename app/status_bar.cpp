#include "app/status_bar.h"

#include <QLabel>
#include <algorithm>

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
  }
  // The state panel fits its longest text; the hints and the position share what
  // is left, the hints the larger part, so a long hint is not cut in a wide window.
  panels_[0]->setMinimumWidth(
      std::max(widths[0], panels_[0]->fontMetrics().horizontalAdvance("Filling matrix (sym.)") + 12));
  addWidget(panels_[0], 0);
  addWidget(panels_[1], 3);
  addWidget(panels_[2], 2);
}

void MainStatusBar::SetText(StatusPanel panel, const QString& text) {
  QLabel* label = panels_[static_cast<int>(panel)];
  label->setText(text);
  // What a narrow window cuts off can still be read by pointing at the panel.
  label->setToolTip(text);
  label->repaint();
}

QString MainStatusBar::Text(StatusPanel panel) const {
  return panels_[static_cast<int>(panel)]->text();
}

}  // namespace lumetra::gui
