// What happens to the sources, loads and ground points of a layout when one of its
// segments is edited or deleted.
//
// A marker names its element by number (ElementNo, ChargeNo), and the numbers are
// derived from the segment list, so every change of a segment's division moves the
// numbers of all elements behind it. A marker on the changed segment itself keeps
// its place on the trace: it is carried to the element of the new division that
// sits at the same relative position in the segment (the same element after a move
// or a resize with the same counts; the coinciding element after a refinement such
// as 5 to 10 cells). Only a marker whose element has no counterpart is lost, and
// the editor asks before that happens.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "model/user_interface.h"

namespace lumetra {

enum class MarkerKind { VoltageSource, Impedance, GroundPoint };

// A marker by kind and 0-based position in its list.
struct MarkerRef {
  MarkerKind Kind = MarkerKind::VoltageSource;
  std::size_t Position = 0;
  friend bool operator==(const MarkerRef&, const MarkerRef&) = default;
};

// The three marker lists after a change of segment `index`, and the markers of the
// old lists that the change removes (in list order, sources, loads, ground points).
struct SegmentChangePlan {
  std::vector<VoltageSource> VoltageSources;
  std::vector<ImpedanceElement> Impedances;
  std::vector<GroundPoint> GroundPoints;
  std::vector<MarkerRef> Lost;
};

// The segment at `index` replaced by `updated`, or removed when `updated` is empty.
// Positions and sizes of carried markers follow the new division. An index beyond
// the list plans no change.
SegmentChangePlan PlanSegmentChange(const Project& project, std::size_t index,
                                    const std::optional<Segment>& updated);

// The markers that deleting segment `position` (0-based), or every segment when
// position is empty, removes.
std::vector<MarkerRef> MarkersOfDeletedSegments(const Project& project,
                                                std::optional<std::size_t> position);

// "voltage source 2, impedance element 1 and ground connections 1, 3": the markers
// named as the delete dialog names their kinds, with 1-based numbers.
std::string DescribeMarkers(const std::vector<MarkerRef>& markers);

// The questions asked before markers are lost, numbers 1-based:
// "Warning: The new division of segment 2 has no element for voltage source 1.
// Remove it and apply the change?" and "Warning: Deleting segment 2 also removes
// voltage source 1 and ground connection 3. Proceed?" (segment empty: all segments).
std::string SegmentEditLossQuestion(std::size_t segmentNumber, const std::vector<MarkerRef>& lost);
std::string SegmentDeleteLossQuestion(std::optional<std::size_t> segmentNumber,
                                      const std::vector<MarkerRef>& lost);
// The same for several segments deleted at once: "Warning: Deleting segments 1, 3
// also removes ... Proceed?" (one number reads as the single-segment question).
std::string SegmentsDeleteLossQuestion(const std::vector<std::size_t>& segmentNumbers,
                                       const std::vector<MarkerRef>& lost);

// True when nothing would be lost, or when the user answers Yes to the question.
bool ConfirmMarkerLoss(const std::string& question, const std::vector<MarkerRef>& lost,
                       UserInterface& ui);

}  // namespace lumetra
