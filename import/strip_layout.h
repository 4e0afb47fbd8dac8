// The cells of a copper raster turned into segments that the connection step joins.
//
// Each row's runs of one net's cells are stacked into strips: runs of the same
// columns in consecutive rows form one rectangle. Strips then touch each other only
// across horizontal edges (side by side they would be one run), where the
// connection step asks for equal charge densities along x and for columns at the
// same places. So a strip is cut where a neighbour above or below touches it: the
// pieces under a contact get one charge cell per grid column, the same on both
// sides, and the free pieces get as few cells as the wavelength allows. All pieces
// of a strip share its rows, so their joins across vertical edges match as well.
//
// Every edge lies on the grid, so with a grid that is a whole number of 1/1024 mm
// every coordinate, cell centre and density is an exact binary number: the exact
// comparisons of the connection step hold, also after the project files (15 digits)
// carried them.
#pragma once

#include <vector>

#include "import/copper_raster.h"
#include "model/project.h"

namespace lumetra {

struct CellCountRule {
  double maxCellMm = 1e9;  // longest charge cell along a free piece
  int cellsAcross = 1;     // charge cells across a strip of that many grid cells or more
};

// Charge cells along a free side of spanCells grid cells of spanMm: enough that no
// cell is longer than maxCellMm, and min(spanCells, cellsAcross) at least.
int FreeCellCount(int spanCells, double spanMm, const CellCountRule& rule);

struct StripSegments {
  std::vector<Segment> segments;
  std::vector<int> net;  // 1-based net index of each segment
};

// The segments of every net of the raster, strip by strip from the bottom row up.
StripSegments SegmentsFromRaster(const CopperRaster& raster, const CellCountRule& rule);

// Number of separate copper pieces of net (4-connected cells) in the raster.
int CopperPieces(const CopperRaster& raster, int net);

}  // namespace lumetra
