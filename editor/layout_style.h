// Colours and font of the layout drawing. They start from their defaults at every
// start of the program and are changed from the board area's pop-up menu; they are
// not stored with the project.
#pragma once

#include <QColor>
#include <QFont>

#include "model/layout_drawing.h"

namespace lumetra::gui {

struct LayoutStyle {
  QColor VoltageSource{0, 0, 255};
  QColor Impedance{0, 0, 0};
  QColor GroundPoint{255, 255, 0};
  QColor Jx{255, 0, 0};
  QColor Jy{0, 128, 0};
  QFont Font = DefaultFont();

  QColor ColourOf(DrawRole role) const;
  static QFont DefaultFont();
};

}  // namespace lumetra::gui
