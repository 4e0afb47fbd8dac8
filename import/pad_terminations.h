// Drivers and receivers at pads: a ground point (the vertical connection down to
// the plane) on the charge cell at the pad, and next to it, on the in-segment
// current element leaving that cell, the driver's voltage source or the receiver's
// load. Current then runs from the plane up through the ground point, through the
// source (or load) and on into the trace.
#pragma once

#include <optional>

#include "model/element_lookup.h"
#include "model/project.h"

namespace lumetra {

struct TerminationSite {
  CurrentElementHit element;  // carries the source or the load
  GroundPoint ground;         // on the cell the element leaves, on the far edge
};

// The site nearest to (x, y), mm: the in-segment current element whose centre is
// nearest, and of its two cells the one nearer to the point. Nothing when the
// layout has no in-segment current element at all.
std::optional<TerminationSite> TerminationSiteNear(const std::vector<Segment>& segments,
                                                   double x, double y);

}  // namespace lumetra
