// "Coordinate system": a picture of the board frame and of the angles theta, phi
// used by the incident field and the far field.
#pragma once

#include <QWidget>

namespace lumetra::gui {

class CoordinateSystemWindow : public QWidget {
  Q_OBJECT
public:
  explicit CoordinateSystemWindow(QWidget* parent);

  // The sentence under the picture that says how the angles are measured.
  static QString CaptionText();

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  static constexpr int CaptionWidth = 380;  // pixels
  static constexpr int CaptionTop = 340;    // below the ground-plane label
};

}  // namespace lumetra::gui
