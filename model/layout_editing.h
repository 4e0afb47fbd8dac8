// Changes the layout editor makes to the project, with the bookkeeping that keeps
// the element numbers of sources, loads and ground points valid.
//
// Element numbers are derived from the segment list, so changing a segment's charge
// counts shifts the numbers of every element behind it. Every change here clears
// Saved; a change of the segments also clears Connected, because the connecting
// elements on disk no longer describe the layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "model/element_lookup.h"
#include "model/project.h"

namespace lumetra {

// New records placed on an element found under the mouse.
VoltageSource MakeVoltageSource(const CurrentElementHit& element, double re, double im);
// value is the inductance (henry) or, with capacitive, the capacitance (farad).
ImpedanceElement MakeImpedance(const CurrentElementHit& element, double r, double value,
                               bool capacitive);
// LC as stored: +|value| for R + jwL, -|value| for R - j/wC.
double StoredLC(double value, bool capacitive);
// A ground point at the midpoint of the given edge of the cell, one third of the
// cell's smaller side in size.
GroundPoint MakeGroundPoint(const ChargeCellHit& cell, std::int32_t edge);

// New values of an existing source or load (0-based position).
void SetVoltage(Project& project, std::size_t position, double re, double im);
void SetImpedance(Project& project, std::size_t position, double r, double lc);

void AddSegment(Project& project, const Segment& segment);
void AddVoltageSource(Project& project, const VoltageSource& source);
void AddImpedance(Project& project, const ImpedanceElement& load);
void AddGroundPoint(Project& project, const GroundPoint& point);

// Replaces segment `index` (0-based) by `updated`. Sources, loads and ground points
// on the segment are carried to the element at the same place of the new division
// and dropped only where it has none (PlanSegmentChange tells which beforehand);
// those on later segments are renumbered by the change in the element counts.
void ReplaceSegment(Project& project, std::size_t index, const Segment& updated);

enum class ItemKind { Segment, VoltageSource, Impedance, GroundPoint };

std::size_t ItemCount(const Project& project, ItemKind kind);

// Deletes the item at the 0-based position, or every item of the kind when
// position is empty. Deleting a segment removes the sources, loads and ground points
// on it and renumbers those behind it; deleting all segments removes them all.
// Positions beyond the list delete nothing.
void DeleteItems(Project& project, ItemKind kind, std::optional<std::size_t> position);

// The grid dialog's values; they apply to segments drawn afterwards.
void SetGrid(Project& project, double gridSize, std::int32_t chargesPerGridX,
             std::int32_t chargesPerGridY, bool showGridPoints);

}  // namespace lumetra
