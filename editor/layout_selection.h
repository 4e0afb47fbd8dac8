// What the user has picked on the board to act on with the keyboard (Del): segments
// and markers by kind and list position. The selection is the editor's state, not
// the project's: it is never stored and is dropped whenever the lists change.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/layout_editing.h"
#include "model/segment_markers.h"

namespace lumetra::gui {

struct SelectedItem {
  ItemKind Kind = ItemKind::Segment;
  std::size_t Position = 0;  // 0-based in its list
  friend bool operator==(const SelectedItem&, const SelectedItem&) = default;
};

// One deletion as the delete dialog makes it: the item at a 0-based position, or
// every item of the kind.
struct DeletionStep {
  ItemKind Kind = ItemKind::Segment;
  std::optional<std::size_t> Position;
  friend bool operator==(const DeletionStep&, const DeletionStep&) = default;
};

// The item a click at (x, y) mm picks: what is drawn on top wins, so ground points
// before impedance elements before voltage sources before segments, and within a
// list the later item. A ground point is hit within `reach` mm of its centre (at
// least its own radius), so that a small circle can still be clicked.
std::optional<SelectedItem> ItemAt(const Project& project, double x, double y, double reach);

// The steps that delete a selection: markers before segments, each list from the
// back, so that no step moves an item a later step still names.
std::vector<DeletionStep> DeletionOf(std::vector<SelectedItem> selection);

// Markers that deleting the selected segments takes along without their being
// selected themselves: the ones to ask about.
std::vector<MarkerRef> MarkersLostWith(const Project& project,
                                       const std::vector<SelectedItem>& selection);

// The 1-based numbers of the selected segments, ascending.
std::vector<std::size_t> SelectedSegmentNumbers(const std::vector<SelectedItem>& selection);

// True when every selected item is still in the project.
bool SelectionValid(const Project& project, const std::vector<SelectedItem>& selection);

}  // namespace lumetra::gui
