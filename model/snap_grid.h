// The snap grid of the layout editor and the segment a rubber band describes.
//
// The grid is anchored at the board's top-left corner (pixel 0 of the board area),
// its pitch is GridSize millimetres, i.e. GridSize * Scale pixels.
#pragma once

#include <optional>

#include "model/project.h"

namespace lumetra {

// The grid line nearest to pixel p along one axis; a point exactly halfway between
// two lines goes to the lower one.
int SnapToGrid(int p, double gridSize, double scale);

// The segment of a rubber band from start (already snapped) to end (snapped here),
// both in board-area pixels. Drawn in any direction it gives the same segment; the
// charge counts follow ChargesPerGridX/Y. Nothing when the band has no width or
// height on the grid or the segment would reach beyond the board.
std::optional<Segment> SegmentFromRubberBand(int startPx, int startPy, int endPx, int endPy,
                                             const Project& project, double scale);

}  // namespace lumetra
