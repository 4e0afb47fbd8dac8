// Painting the layout's drawing steps with a style: one routine for the board
// area on the screen and for the printed page, so both show the same picture.
#pragma once

#include <QPainter>
#include <vector>

#include "editor/layout_style.h"
#include "model/layout_drawing.h"

namespace lumetra::gui {

// Paints the steps in order. A Pixel step (a snap-grid point) is one pixel on the
// screen; on a printer one device pixel is too small to see, so dotRadius > 0
// draws it as a dot of that radius instead.
void PaintDrawSteps(QPainter& painter, const std::vector<DrawStep>& steps,
                    const LayoutStyle& style, int dotRadius = 0);

}  // namespace lumetra::gui
