// The layout printout: the drawing of the board, landscape and scaled to the page,
// then the listing of every project record on portrait pages.
#pragma once

#include <QPrinter>

#include "editor/layout_style.h"
#include "model/project.h"
#include "model/user_interface.h"

namespace lumetra::gui {

// Prints on a printer already chosen (after the print dialog). The drawing shows
// the board, the snap grid when the view shows it, the segments with their
// numbers, all current elements including the connecting ones, sources, loads and
// ground points. A connection file that cannot be read is reported through ui and
// the rest is printed.
void PrintLayout(QPrinter& printer, const Project& project, const LayoutStyle& style,
                 UserInterface& ui);

}  // namespace lumetra::gui
