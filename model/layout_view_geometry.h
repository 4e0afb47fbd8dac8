// Where the board sits in the layout page and how board millimetres map to the
// pixels of the board area.
//
// The board is fitted into the page (less a 5-pixel margin on each side), scaled by
// the user's zoom on top of that fit, centred, and then shifted by the pan offset.
// Pixel coordinates are relative to the board area's top-left corner, which is the
// board's top-left corner: y runs downwards on screen and upwards on the board.
#pragma once

#include <cstdint>

namespace lumetra {

// Rounds to the nearest integer, halves to even (Round(2.5) = 2, Round(3.5) = 4).
std::int64_t RoundHalfEven(double value);

struct ViewGeometry {
  double Scale = 1.0;  // pixels per millimetre, zoom included
  int Left = 0;        // board area position inside the page
  int Top = 0;
  int Width = 0;       // board area size
  int Height = 0;
};

// Fits a board of pcbLx x pcbLy mm into a page of pageWidth x pageHeight pixels.
ViewGeometry FitBoardToPage(int pageWidth, int pageHeight, std::int32_t pcbLx,
                            std::int32_t pcbLy, double zoom, int offsetX, int offsetY);

struct PanOffset {
  int X = 0;
  int Y = 0;
};

// The pan offset that keeps the board point under the page pixel (pageX, pageY)
// where it is when the zoom changes from the one of `before` to newZoom: what a
// zoom with the mouse wheel needs, so that the spot the user looks at stays under
// the cursor. Whole pixels, so the point stays within half a pixel.
PanOffset OffsetKeepingPoint(int pageWidth, int pageHeight, std::int32_t pcbLx,
                             std::int32_t pcbLy, const ViewGeometry& before, double newZoom,
                             double pageX, double pageY);

struct BoardPoint {
  double X = 0.0;  // mm from the board's left edge
  double Y = 0.0;  // mm from the board's bottom edge
};

// Board position of a board-area pixel, and back (rounded to whole pixels).
BoardPoint PixelToBoard(double px, double py, double scale, std::int32_t pcbLy);
int BoardToPixelX(double x, double scale);
int BoardToPixelY(double y, double scale, std::int32_t pcbLy);

}  // namespace lumetra
