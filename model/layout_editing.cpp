#include "model/layout_editing.h"

#include <algorithm>
#include <cmath>

#include "model/discretisation.h"
#include "model/segment_markers.h"

namespace lumetra {

namespace {

void Changed(Project& project) { project.Saved = false; }

}  // namespace

VoltageSource MakeVoltageSource(const CurrentElementHit& e, double re, double im) {
  return VoltageSource{e.X, e.Y, e.Dx, e.Dy, re, im, e.IsJx, e.ElementNo};
}

double StoredLC(double value, bool capacitive) {
  return capacitive ? -std::fabs(value) : std::fabs(value);
}

ImpedanceElement MakeImpedance(const CurrentElementHit& e, double r, double value,
                               bool capacitive) {
  return ImpedanceElement{e.X, e.Y, e.Dx, e.Dy, r, StoredLC(value, capacitive), e.IsJx,
                          e.ElementNo};
}

GroundPoint MakeGroundPoint(const ChargeCellHit& cell, std::int32_t edge) {
  GroundPoint gp;
  gp.ChargeNo = cell.ChargeNo;
  gp.Edge = edge;
  gp.Size = std::min(cell.Dx, cell.Dy) / 3;
  gp.X = cell.X;
  gp.Y = cell.Y;
  switch (edge) {
    case EdgeLeft: gp.X -= cell.Dx / 2; break;
    case EdgeRight: gp.X += cell.Dx / 2; break;
    case EdgeBottom: gp.Y -= cell.Dy / 2; break;
    default: gp.Y += cell.Dy / 2; break;
  }
  return gp;
}

void SetVoltage(Project& project, std::size_t position, double re, double im) {
  if (position >= project.VoltageSources.size()) return;
  project.VoltageSources[position].ReV = re;
  project.VoltageSources[position].ImV = im;
  Changed(project);
}

void SetImpedance(Project& project, std::size_t position, double r, double lc) {
  if (position >= project.Impedances.size()) return;
  project.Impedances[position].R = r;
  project.Impedances[position].LC = lc;
  Changed(project);
}

void AddSegment(Project& project, const Segment& segment) {
  project.Segments.push_back(segment);
  project.Connected = false;
  Changed(project);
}

void AddVoltageSource(Project& project, const VoltageSource& source) {
  project.VoltageSources.push_back(source);
  Changed(project);
}

void AddImpedance(Project& project, const ImpedanceElement& load) {
  project.Impedances.push_back(load);
  Changed(project);
}

void AddGroundPoint(Project& project, const GroundPoint& point) {
  project.GroundPoints.push_back(point);
  Changed(project);
}

void ReplaceSegment(Project& project, std::size_t index, const Segment& updated) {
  if (index >= project.Segments.size()) return;
  SegmentChangePlan plan = PlanSegmentChange(project, index, updated);
  project.VoltageSources = std::move(plan.VoltageSources);
  project.Impedances = std::move(plan.Impedances);
  project.GroundPoints = std::move(plan.GroundPoints);
  project.Segments[index] = updated;
  project.Connected = false;
  Changed(project);
}

std::size_t ItemCount(const Project& project, ItemKind kind) {
  switch (kind) {
    case ItemKind::Segment: return project.Segments.size();
    case ItemKind::VoltageSource: return project.VoltageSources.size();
    case ItemKind::Impedance: return project.Impedances.size();
    case ItemKind::GroundPoint: return project.GroundPoints.size();
  }
  return 0;
}

namespace {

template <typename Item>
void Erase(std::vector<Item>& items, std::optional<std::size_t> position) {
  if (!position) items.clear();
  else if (*position < items.size()) items.erase(items.begin() + static_cast<std::ptrdiff_t>(*position));
}

}  // namespace

void DeleteItems(Project& project, ItemKind kind, std::optional<std::size_t> position) {
  switch (kind) {
    case ItemKind::Segment:
      if (position) {
        if (*position >= project.Segments.size()) break;
        SegmentChangePlan plan = PlanSegmentChange(project, *position, std::nullopt);
        project.VoltageSources = std::move(plan.VoltageSources);
        project.Impedances = std::move(plan.Impedances);
        project.GroundPoints = std::move(plan.GroundPoints);
      } else {
        project.VoltageSources.clear();
        project.Impedances.clear();
        project.GroundPoints.clear();
      }
      Erase(project.Segments, position);
      break;
    case ItemKind::VoltageSource: Erase(project.VoltageSources, position); break;
    case ItemKind::Impedance: Erase(project.Impedances, position); break;
    case ItemKind::GroundPoint: Erase(project.GroundPoints, position); break;
  }
  project.Connected = false;
  Changed(project);
}

void SetGrid(Project& project, double gridSize, std::int32_t chargesPerGridX,
             std::int32_t chargesPerGridY, bool showGridPoints) {
  project.GridSize = gridSize;
  project.ChargesPerGridX = chargesPerGridX;
  project.ChargesPerGridY = chargesPerGridY;
  project.ShowGridPoints = showGridPoints;
  Changed(project);
}

}  // namespace lumetra
