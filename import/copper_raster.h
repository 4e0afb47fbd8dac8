// Copper of the chosen nets drawn into square cells of the snap-grid pitch.
//
// Cell (i, j) covers [i g, (i+1) g] x [j g, (j+1) g] of the board (mm, y up, origin
// at the lower-left corner). Each cell holds the 1-based index of the net that owns
// it, 0 when empty. Only a window of the board around the nets is stored.
//
// Tracks along x or y become rectangles whose edges are rounded to grid lines (the
// width to a whole number of cells, at least one, the ends reaching half a width
// beyond the track's end points like KiCad's round ends). Tracks at other angles
// become the cells whose centres lie within half the (rounded) width of the
// centre line, joined by the cells the centre line itself crosses, so that the
// staircase is always connected edge to edge. Pads and vias become the cells whose
// centres lie inside them, and always at least the cell holding their centre.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumetra {

struct BoardPoint {
  double x = 0.0;  // mm, our frame: y up from the board's lower-left corner
  double y = 0.0;
};

struct CellIndex {
  int i = 0;
  int j = 0;
  friend bool operator==(const CellIndex&, const CellIndex&) = default;
};

class CopperRaster {
 public:
  // The cells [i0, i0 + width) x [j0, j0 + height) of a grid of pitch gridMm.
  CopperRaster(double gridMm, int i0, int j0, int width, int height);

  double Grid() const { return grid_; }
  int I0() const { return i0_; }
  int J0() const { return j0_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Inside(int i, int j) const {
    return i >= i0_ && j >= j0_ && i < i0_ + width_ && j < j0_ + height_;
  }
  // Owner of the cell (1-based net index), 0 when empty or outside the window.
  int At(int i, int j) const;
  // Gives the cell to a net. A cell that already belongs to another net is a
  // short circuit at this grid; the first such pair is remembered.
  void Claim(int i, int j, int net);

  // Two nets that share a cell or lie side by side in neighbouring cells: they
  // would become one conductor. Empty when the nets stay apart.
  std::optional<std::pair<int, int>> TouchingNets() const;

 private:
  std::size_t Offset(int i, int j) const {
    return static_cast<std::size_t>(j - j0_) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(i - i0_);
  }
  double grid_;
  int i0_, j0_, width_, height_;
  std::vector<std::uint16_t> cells_;
  std::optional<std::pair<int, int>> sharedCell_;
};

// The cell holding a point.
CellIndex CellOf(BoardPoint p, double gridMm);

// The cells of one track, rounded as described above.
std::vector<CellIndex> TrackCells(BoardPoint start, BoardPoint end, double widthMm,
                                  double gridMm);

// The length of the copper path those cells form, mm: for a track along x or y the
// distance between the rounded ends; for a staircase the shortest path inside its
// cells from the centre of the start cell to that of the end cell, crossing from
// row to row (a track nearer the x axis) or column to column (nearer the y axis)
// between cells the two share.
double TrackCellsPathLength(BoardPoint start, BoardPoint end, double widthMm, double gridMm,
                            const std::vector<CellIndex>& cells);

// The cells of a pad: a rectangle of widthMm x heightMm centred at centre and turned
// by rotationDeg counter-clockwise (y up), or a disc of diameter widthMm.
std::vector<CellIndex> PadCells(BoardPoint centre, double widthMm, double heightMm,
                                double rotationDeg, bool disc, double gridMm);

}  // namespace lumetra
