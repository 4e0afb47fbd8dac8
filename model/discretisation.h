// The unknowns of the moment-method system, derived from the segment list.
//
// A segment of ChX x ChY cells carries one charge unknown per cell (a pulse cell),
// a Jx current element between every pair of horizontally adjacent cells and a Jy
// current element between every pair of vertically adjacent cells. Numbers are
// 1-based over the segments in list order; inside a segment rows run from the
// bottom and cells from the left. Nothing here is cached: the element files are
// derived on demand from the segments as they are at that moment.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/project.h"

namespace lumetra {

// A pulse cell: centre and size, mm.
struct ChargeElement {
  double X = 0.0, Y = 0.0;
  double Dx = 0.0, Dy = 0.0;
};

// A current element reaching from the centre of charge cell From to the centre of
// charge cell To (1-based), carrying current in +x (Jx) or +y (Jy). Dx, Dy is the
// cell size recorded with it (for connecting elements, the mean of both sides).
struct CurrentElement {
  double X = 0.0, Y = 0.0;
  double Dx = 0.0, Dy = 0.0;
  std::int32_t From = 0;
  std::int32_t To = 0;
};

// The outline and cell pitch of a segment.
struct SegmentGeometry {
  double Dx, Dy;  // cell size
  double X1, X2;  // left and right edge
  double Y1, Y2;  // bottom and top edge
};
SegmentGeometry GeometryOf(const Segment& segment);

// Element counts of one segment.
inline std::int64_t ChargeCount(const Segment& s) { return std::int64_t{s.ChX} * s.ChY; }
inline std::int64_t JxCount(const Segment& s) { return std::int64_t{s.ChX - 1} * s.ChY; }
inline std::int64_t JyCount(const Segment& s) { return std::int64_t{s.ChX} * (s.ChY - 1); }

// The elements of one segment; chargeBase is the number of charge cells of all
// earlier segments, so the cell numbers come out project-wide.
void ForEachChargeElement(const Segment& segment,
                          const std::function<void(const ChargeElement&)>& visit);
void ForEachJxElement(const Segment& segment, std::int32_t chargeBase,
                      const std::function<void(const CurrentElement&)>& visit);
void ForEachJyElement(const Segment& segment, std::int32_t chargeBase,
                      const std::function<void(const CurrentElement&)>& visit);

// All elements of a layout, in numbering order.
std::vector<ChargeElement> ChargeElements(const std::vector<Segment>& segments);
std::vector<CurrentElement> JxElements(const std::vector<Segment>& segments);
std::vector<CurrentElement> JyElements(const std::vector<Segment>& segments);

// Number of charge cells of the segments before position index (0-based).
std::int32_t ChargeBase(const std::vector<Segment>& segments, std::size_t index);

}  // namespace lumetra
