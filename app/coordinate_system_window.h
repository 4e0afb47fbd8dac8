// "Coordinate system": a picture of the board frame and of the angles theta, phi
// used by the incident field and the far field.
#pragma once

#include <QWidget>

namespace lumetra::gui {

class CoordinateSystemWindow : public QWidget {
  Q_OBJECT
public:
  explicit CoordinateSystemWindow(QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace lumetra::gui
