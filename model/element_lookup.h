// What lies under a point of the board: segments, markers and the elements of a
// segment. Containment is strict everywhere: a point on an edge belongs to neither
// side, so a click on the border between two elements picks none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/project.h"

namespace lumetra {

// Positions (0-based, list order) of the items whose rectangle contains (x, y).
std::vector<std::size_t> SegmentsContaining(const std::vector<Segment>& segments, double x,
                                            double y);
std::vector<std::size_t> SourcesContaining(const std::vector<VoltageSource>& sources, double x,
                                           double y);
std::vector<std::size_t> ImpedancesContaining(const std::vector<ImpedanceElement>& loads,
                                              double x, double y);

// An in-segment current element: its project-wide 1-based number among the Jx (or
// Jy) elements, its centre and the cell size of its segment.
struct CurrentElementHit {
  std::int32_t ElementNo = 0;
  double X = 0, Y = 0, Dx = 0, Dy = 0;
  bool IsJx = true;
};

// The Jx (jx true) or Jy element of segment `index` whose area contains (x, y). A
// Jx element's area runs from the centre of its left cell to the centre of its
// right cell over the height of a row; a Jy element's likewise upwards.
std::optional<CurrentElementHit> FindCurrentElementAt(const std::vector<Segment>& segments,
                                                      std::size_t index, double x, double y,
                                                      bool jx);

// A charge cell: its project-wide 1-based number, centre and size.
struct ChargeCellHit {
  std::int32_t ChargeNo = 0;
  double X = 0, Y = 0, Dx = 0, Dy = 0;
};
std::optional<ChargeCellHit> FindChargeCellAt(const std::vector<Segment>& segments,
                                              std::size_t index, double x, double y);

}  // namespace lumetra
