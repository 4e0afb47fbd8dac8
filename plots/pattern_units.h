// The radiation pattern in engineering units: the values of the five grid rings,
// the field strength at a chosen distance in dBuV/m beside the amplitude in V, and
// the note on what angle 0 means for the cut.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plots/pattern_data.h"

namespace lumetra {

// The values of the rings from the innermost (a fifth of the radius) to the outer
// one, with units. Linear: k/5 of the maximum in V (field) or as a plain ratio
// (gain). Logarithmic: the outer ring is the maximum and each ring inwards one
// division less: the field in dBV, or in dBuV/m at distanceM when one is given,
// the power gain in dBi (the gain is relative to an isotropic radiator).
std::vector<std::string> RingLabels(double maximum, PatternQuantity quantity, bool logScale,
                                    double dbPerDivision, std::optional<double> distanceM);

// "At 3 m: 110.46 dBuV/m (max)": the largest field of the cut as field strength at
// the distance; empty for the power gain, which has no distance.
std::string FieldStrengthLabel(double maximumV, PatternQuantity quantity, double distanceM);

// What the angle of the cut is and where 0 lies: theta is counted from the board
// normal, phi from +x in the board plane.
std::string AngleNote(CutKind kind);
// The short mark drawn beside angle 0 of the grid.
std::string AngleZeroMark(CutKind kind);

// The distance field's text as metres: a positive finite number, or none.
std::optional<double> ParseDistance(const std::string& text);

}  // namespace lumetra
