#include "editor/layout_selection.h"

#include <algorithm>
#include <cmath>

#include "model/element_lookup.h"

namespace lumetra::gui {

namespace {

MarkerKind MarkerOf(ItemKind kind) {
  switch (kind) {
    case ItemKind::Impedance: return MarkerKind::Impedance;
    case ItemKind::GroundPoint: return MarkerKind::GroundPoint;
    default: return MarkerKind::VoltageSource;
  }
}

bool Selected(const std::vector<SelectedItem>& selection, const MarkerRef& marker) {
  return std::any_of(selection.begin(), selection.end(), [&](const SelectedItem& item) {
    return item.Kind != ItemKind::Segment && MarkerOf(item.Kind) == marker.Kind &&
           item.Position == marker.Position;
  });
}

}  // namespace

std::optional<SelectedItem> ItemAt(const Project& project, double x, double y, double reach) {
  for (std::size_t k = project.GroundPoints.size(); k-- > 0;) {
    const GroundPoint& gp = project.GroundPoints[k];
    if (std::hypot(x - gp.X, y - gp.Y) <= std::max(reach, gp.Size))
      return SelectedItem{ItemKind::GroundPoint, k};
  }
  const std::vector<std::size_t> loads = ImpedancesContaining(project.Impedances, x, y);
  if (!loads.empty()) return SelectedItem{ItemKind::Impedance, loads.back()};
  const std::vector<std::size_t> sources = SourcesContaining(project.VoltageSources, x, y);
  if (!sources.empty()) return SelectedItem{ItemKind::VoltageSource, sources.back()};
  const std::vector<std::size_t> segments = SegmentsContaining(project.Segments, x, y);
  if (!segments.empty()) return SelectedItem{ItemKind::Segment, segments.back()};
  return std::nullopt;
}

std::vector<DeletionStep> DeletionOf(std::vector<SelectedItem> selection) {
  // Markers first: deleting a segment renumbers the markers behind it but never
  // moves them in their lists, and deleting a marker leaves the segments alone.
  const auto rank = [](ItemKind kind) { return kind == ItemKind::Segment ? 1 : 0; };
  std::sort(selection.begin(), selection.end(), [&](const SelectedItem& a, const SelectedItem& b) {
    if (rank(a.Kind) != rank(b.Kind)) return rank(a.Kind) < rank(b.Kind);
    if (a.Kind != b.Kind) return a.Kind < b.Kind;
    return a.Position > b.Position;
  });
  selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
  std::vector<DeletionStep> steps;
  for (const SelectedItem& item : selection) steps.push_back({item.Kind, item.Position});
  return steps;
}

std::vector<MarkerRef> MarkersLostWith(const Project& project,
                                       const std::vector<SelectedItem>& selection) {
  // A marker sits on exactly one segment, so the markers of several deleted
  // segments are the union of each one's, all numbered in the present lists.
  std::vector<MarkerRef> lost;
  for (const SelectedItem& item : selection) {
    if (item.Kind != ItemKind::Segment) continue;
    for (const MarkerRef& m : MarkersOfDeletedSegments(project, item.Position))
      if (!Selected(selection, m) && std::find(lost.begin(), lost.end(), m) == lost.end())
        lost.push_back(m);
  }
  std::sort(lost.begin(), lost.end(), [](const MarkerRef& a, const MarkerRef& b) {
    return a.Kind != b.Kind ? a.Kind < b.Kind : a.Position < b.Position;
  });
  return lost;
}

std::vector<std::size_t> SelectedSegmentNumbers(const std::vector<SelectedItem>& selection) {
  std::vector<std::size_t> numbers;
  for (const SelectedItem& item : selection)
    if (item.Kind == ItemKind::Segment) numbers.push_back(item.Position + 1);
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

bool SelectionValid(const Project& project, const std::vector<SelectedItem>& selection) {
  return std::all_of(selection.begin(), selection.end(), [&](const SelectedItem& item) {
    return item.Position < ItemCount(project, item.Kind);
  });
}

}  // namespace lumetra::gui
