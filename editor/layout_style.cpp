#include "editor/layout_style.h"

#include <QGuiApplication>

namespace lumetra::gui {

QColor LayoutStyle::ColourOf(DrawRole role) const {
  switch (role) {
    case DrawRole::Black: return Qt::black;
    case DrawRole::Jx: return Jx;
    case DrawRole::Jy: return Jy;
    case DrawRole::VoltageSource: return VoltageSource;
    case DrawRole::Impedance: return Impedance;
    case DrawRole::GroundPoint: return GroundPoint;
  }
  return Qt::black;
}

QFont LayoutStyle::DefaultFont() {
  // The application's own font, never smaller than 9 points: numbers on a dense
  // layout must stay legible, on the screen and on paper (a point size scales with
  // the printer's resolution, a pixel size would not).
  QFont font = QGuiApplication::font();
  if (font.pointSizeF() > 0 && font.pointSizeF() < 9) font.setPointSizeF(9);
  if (font.pointSizeF() <= 0) font.setPointSize(9);
  return font;
}

}  // namespace lumetra::gui
