#include "model/segment_markers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/discretisation.h"

namespace lumetra {

namespace {

// Numbers of the elements of all segments before `index`: the offsets at which the
// changed segment's own numbers start, the same before and after the change.
struct NumberBase {
  std::int64_t Jx = 0, Jy = 0, Charge = 0;
};

NumberBase BaseBefore(const std::vector<Segment>& segments, std::size_t index) {
  NumberBase base;
  for (std::size_t k = 0; k < index && k < segments.size(); ++k) {
    base.Jx += JxCount(segments[k]);
    base.Jy += JyCount(segments[k]);
    base.Charge += ChargeCount(segments[k]);
  }
  return base;
}

// The index of a position on the new division. A marker's place is a point of the
// segment given in cell units (its element centre, or a cell edge midpoint); on the
// new division that point sits at `cells` = fraction x new count, which must be a
// whole number plus `offset` (0 for a cell edge, 0.5 for a cell centre) for an
// element to lie there. Returns the whole part when it does and lies in [0, count).
std::optional<std::int32_t> WholeIndex(double fraction, std::int32_t newCount, double offset,
                                       std::int32_t available) {
  const double cells = fraction * newCount - offset;
  const double whole = std::round(cells);
  if (std::fabs(cells - whole) > 1e-9 * (1.0 + std::fabs(cells))) return std::nullopt;
  if (whole < 0 || whole >= available) return std::nullopt;
  return static_cast<std::int32_t>(whole);
}

// A current element's local column and row from its number within the segment.
struct Local {
  std::int32_t I = 0, J = 0;
};

Local LocalOf(std::int64_t local, std::int32_t perRow) {
  return {static_cast<std::int32_t>(local % perRow), static_cast<std::int32_t>(local / perRow)};
}

// Carries a source or load of the changed segment to the new division. Jx element
// (i, j) is centred on the cell boundary i + 1 and the row centre j + 1/2; Jy
// element (i, j) on the column centre i + 1/2 and the boundary j + 1.
template <typename Marker>
bool CarryCurrentMarker(Marker& m, const Segment& old, const Segment& updated,
                        const NumberBase& base) {
  const SegmentGeometry g = GeometryOf(updated);
  if (m.IsJx) {
    const Local at = LocalOf(m.ElementNo - base.Jx - 1, old.ChX - 1);
    const auto i = WholeIndex((at.I + 1.0) / old.ChX, updated.ChX, 1.0, updated.ChX - 1);
    const auto j = WholeIndex((at.J + 0.5) / old.ChY, updated.ChY, 0.5, updated.ChY);
    if (!i || !j) return false;
    m.ElementNo = static_cast<std::int32_t>(base.Jx + std::int64_t{*j} * (updated.ChX - 1) + *i + 1);
    m.X = g.X1 + (*i + 1) * g.Dx;
    m.Y = g.Y1 + (*j + 0.5) * g.Dy;
  } else {
    const Local at = LocalOf(m.ElementNo - base.Jy - 1, old.ChX);
    const auto i = WholeIndex((at.I + 0.5) / old.ChX, updated.ChX, 0.5, updated.ChX);
    const auto j = WholeIndex((at.J + 1.0) / old.ChY, updated.ChY, 1.0, updated.ChY - 1);
    if (!i || !j) return false;
    m.ElementNo = static_cast<std::int32_t>(base.Jy + std::int64_t{*j} * updated.ChX + *i + 1);
    m.X = g.X1 + (*i + 0.5) * g.Dx;
    m.Y = g.Y1 + (*j + 1) * g.Dy;
  }
  m.Dx = g.Dx;
  m.Dy = g.Dy;
  return true;
}

// Carries a ground point: it sits at the midpoint of one edge of its cell, so the
// cell of the new division with the same edge at the same place takes it.
bool CarryGroundPoint(GroundPoint& gp, const Segment& old, const Segment& updated,
                      const NumberBase& base) {
  const Local at = LocalOf(gp.ChargeNo - base.Charge - 1, old.ChX);
  const SegmentGeometry g = GeometryOf(updated);
  // Edge position in old cell units along x and y, and the offset that edge has
  // from its cell's lower-left corner in new cell units.
  double u = at.I + 0.5, v = at.J + 0.5, du = 0.5, dv = 0.5;
  switch (gp.Edge) {
    case EdgeLeft: u = at.I; du = 0.0; break;
    case EdgeRight: u = at.I + 1.0; du = 1.0; break;
    case EdgeBottom: v = at.J; dv = 0.0; break;
    default: v = at.J + 1.0; dv = 1.0; break;
  }
  const auto i = WholeIndex(u / old.ChX, updated.ChX, du, updated.ChX);
  const auto j = WholeIndex(v / old.ChY, updated.ChY, dv, updated.ChY);
  if (!i || !j) return false;
  gp.ChargeNo = static_cast<std::int32_t>(base.Charge + std::int64_t{*j} * updated.ChX + *i + 1);
  gp.X = g.X1 + (*i + du) * g.Dx;
  gp.Y = g.Y1 + (*j + dv) * g.Dy;
  gp.Size = std::min(g.Dx, g.Dy) / 3;
  return true;
}

// Applies the change to one list of sources or loads.
template <typename Marker>
std::vector<Marker> PlanCurrentMarkers(const std::vector<Marker>& markers, MarkerKind kind,
                                       const Segment& old, const std::optional<Segment>& updated,
                                       const NumberBase& base, std::vector<MarkerRef>& lost) {
  const std::int64_t oldJx = JxCount(old), oldJy = JyCount(old);
  const std::int64_t newJx = updated ? JxCount(*updated) : 0;
  const std::int64_t newJy = updated ? JyCount(*updated) : 0;
  std::vector<Marker> kept;
  for (std::size_t p = 0; p < markers.size(); ++p) {
    Marker m = markers[p];
    const std::int64_t first = m.IsJx ? base.Jx : base.Jy;
    const std::int64_t count = m.IsJx ? oldJx : oldJy;
    if (m.ElementNo > first + count) {
      m.ElementNo += static_cast<std::int32_t>(m.IsJx ? newJx - oldJx : newJy - oldJy);
    } else if (m.ElementNo > first) {
      if (!updated || !CarryCurrentMarker(m, old, *updated, base)) {
        lost.push_back({kind, p});
        continue;
      }
    }
    kept.push_back(m);
  }
  return kept;
}

const char* KindName(MarkerKind kind, bool plural) {
  switch (kind) {
    case MarkerKind::VoltageSource: return plural ? "voltage sources" : "voltage source";
    case MarkerKind::Impedance: return plural ? "impedance elements" : "impedance element";
    case MarkerKind::GroundPoint: return plural ? "ground connections" : "ground connection";
  }
  return "";
}

}  // namespace

SegmentChangePlan PlanSegmentChange(const Project& project, std::size_t index,
                                    const std::optional<Segment>& updated) {
  SegmentChangePlan plan{project.VoltageSources, project.Impedances, project.GroundPoints, {}};
  if (index >= project.Segments.size()) return plan;
  const Segment& old = project.Segments[index];
  const NumberBase base = BaseBefore(project.Segments, index);
  plan.VoltageSources = PlanCurrentMarkers(project.VoltageSources, MarkerKind::VoltageSource, old,
                                           updated, base, plan.Lost);
  plan.Impedances =
      PlanCurrentMarkers(project.Impedances, MarkerKind::Impedance, old, updated, base, plan.Lost);

  plan.GroundPoints.clear();
  const std::int64_t oldCharges = ChargeCount(old);
  const std::int64_t newCharges = updated ? ChargeCount(*updated) : 0;
  for (std::size_t p = 0; p < project.GroundPoints.size(); ++p) {
    GroundPoint gp = project.GroundPoints[p];
    if (gp.ChargeNo > base.Charge + oldCharges) {
      gp.ChargeNo += static_cast<std::int32_t>(newCharges - oldCharges);
    } else if (gp.ChargeNo > base.Charge) {
      if (!updated || !CarryGroundPoint(gp, old, *updated, base)) {
        plan.Lost.push_back({MarkerKind::GroundPoint, p});
        continue;
      }
    }
    plan.GroundPoints.push_back(gp);
  }
  return plan;
}

std::vector<MarkerRef> MarkersOfDeletedSegments(const Project& project,
                                                std::optional<std::size_t> position) {
  if (position) return PlanSegmentChange(project, *position, std::nullopt).Lost;
  std::vector<MarkerRef> all;
  for (std::size_t p = 0; p < project.VoltageSources.size(); ++p)
    all.push_back({MarkerKind::VoltageSource, p});
  for (std::size_t p = 0; p < project.Impedances.size(); ++p)
    all.push_back({MarkerKind::Impedance, p});
  for (std::size_t p = 0; p < project.GroundPoints.size(); ++p)
    all.push_back({MarkerKind::GroundPoint, p});
  return all;
}

std::string DescribeMarkers(const std::vector<MarkerRef>& markers) {
  std::vector<std::string> groups;
  for (MarkerKind kind : {MarkerKind::VoltageSource, MarkerKind::Impedance, MarkerKind::GroundPoint}) {
    std::string numbers;
    std::size_t count = 0;
    for (const MarkerRef& m : markers) {
      if (m.Kind != kind) continue;
      if (count++ > 0) numbers += ", ";
      numbers += std::to_string(m.Position + 1);
    }
    if (count > 0) groups.push_back(std::string(KindName(kind, count > 1)) + " " + numbers);
  }
  std::string text;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (g > 0) text += g + 1 == groups.size() ? " and " : ", ";
    text += groups[g];
  }
  return text;
}

std::string SegmentEditLossQuestion(std::size_t segmentNumber, const std::vector<MarkerRef>& lost) {
  return "Warning: The new division of segment " + std::to_string(segmentNumber) +
         " has no element for " + DescribeMarkers(lost) + ". Remove " +
         (lost.size() > 1 ? "them" : "it") + " and apply the change?";
}

std::string SegmentDeleteLossQuestion(std::optional<std::size_t> segmentNumber,
                                      const std::vector<MarkerRef>& lost) {
  const std::string what =
      segmentNumber ? "segment " + std::to_string(*segmentNumber) : std::string("all segments");
  return "Warning: Deleting " + what + " also removes " + DescribeMarkers(lost) + ". Proceed?";
}

std::string SegmentsDeleteLossQuestion(const std::vector<std::size_t>& segmentNumbers,
                                       const std::vector<MarkerRef>& lost) {
  if (segmentNumbers.size() == 1) return SegmentDeleteLossQuestion(segmentNumbers.front(), lost);
  std::string numbers;
  for (std::size_t k = 0; k < segmentNumbers.size(); ++k)
    numbers += (k > 0 ? ", " : "") + std::to_string(segmentNumbers[k]);
  return "Warning: Deleting segments " + numbers + " also removes " + DescribeMarkers(lost) +
         ". Proceed?";
}

bool ConfirmMarkerLoss(const std::string& question, const std::vector<MarkerRef>& lost,
                       UserInterface& ui) {
  return lost.empty() || ui.AskYesNo(question);
}

}  // namespace lumetra
