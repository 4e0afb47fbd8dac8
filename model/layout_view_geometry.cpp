#include "model/layout_view_geometry.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace lumetra {

std::int64_t RoundHalfEven(double value) {
  // nearbyint follows the current rounding direction; the program never changes it
  // from round-to-nearest-even, but say so rather than rely on it.
  const int previous = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(value);
  std::fesetround(previous);
  return static_cast<std::int64_t>(rounded);
}

ViewGeometry FitBoardToPage(int pageWidth, int pageHeight, std::int32_t pcbLx,
                            std::int32_t pcbLy, double zoom, int offsetX, int offsetY) {
  const double w = pageWidth - 10;
  const double h = pageHeight - 10;
  ViewGeometry view;
  if (pcbLx <= 0 || pcbLy <= 0) return view;
  view.Scale = std::min(w / pcbLx, h / pcbLy) * zoom;
  // A page squeezed to nothing must still leave a usable (if tiny) mapping: every
  // mouse position is divided by the scale.
  if (!(view.Scale > 1e-6)) view.Scale = 1e-6;
  view.Width = static_cast<int>(RoundHalfEven(pcbLx * view.Scale));
  view.Height = static_cast<int>(RoundHalfEven(pcbLy * view.Scale));
  view.Left = static_cast<int>(RoundHalfEven((w - view.Width) * 0.5)) + offsetX + 5;
  view.Top = static_cast<int>(RoundHalfEven((h - view.Height) * 0.5)) + offsetY + 5;
  return view;
}

PanOffset OffsetKeepingPoint(int pageWidth, int pageHeight, std::int32_t pcbLx,
                             std::int32_t pcbLy, const ViewGeometry& before, double newZoom,
                             double pageX, double pageY) {
  // Where the board would sit unpanned at the new zoom, and where it must sit so
  // that the point keeps its page pixel: the point's distance from the board's
  // corner grows with the scale.
  const ViewGeometry centred = FitBoardToPage(pageWidth, pageHeight, pcbLx, pcbLy, newZoom, 0, 0);
  const double ratio = centred.Scale / before.Scale;
  const double left = pageX - (pageX - before.Left) * ratio;
  const double top = pageY - (pageY - before.Top) * ratio;
  return PanOffset{static_cast<int>(RoundHalfEven(left - centred.Left)),
                   static_cast<int>(RoundHalfEven(top - centred.Top))};
}

BoardPoint PixelToBoard(double px, double py, double scale, std::int32_t pcbLy) {
  return BoardPoint{px / scale, pcbLy - py / scale};
}

int BoardToPixelX(double x, double scale) { return static_cast<int>(RoundHalfEven(x * scale)); }

int BoardToPixelY(double y, double scale, std::int32_t pcbLy) {
  return static_cast<int>(RoundHalfEven((pcbLy - y) * scale));
}

}  // namespace lumetra
