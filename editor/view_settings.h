// How far the move buttons and arrow keys shift a view and by which factor the zoom
// buttons scale it; shared by the layout, the 3D current view and the vector plot.
#pragma once

namespace lumetra::gui {

struct ViewSettings {
  int MoveStep = 10;        // pixels
  double ZoomFactor = 1.1;
};

}  // namespace lumetra::gui
