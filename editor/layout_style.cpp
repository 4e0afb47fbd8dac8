#include "editor/layout_style.h"

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
  QFont font("Times New Roman");
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(8);
  return font;
}

}  // namespace lumetra::gui
