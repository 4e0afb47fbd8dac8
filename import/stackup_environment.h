// The ground plane under a signal layer, read from the board's stackup.
//
// The plane is the nearest other copper layer: of the layers the board declares as
// power or mixed the nearest, else the nearest copper layer of any kind (a two-layer
// board's ground pour on the other side). Its height is the thickness of the
// dielectric between the two, the permittivity the thickness-weighted mean of the
// dielectric's layers. A board without a stackup (KiCad 5 files) is taken as evenly
// spaced copper layers through the board's thickness (1.6 mm when not given) with
// FR-4's permittivity, and says so.
#pragma once

#include <optional>
#include <string>

#include "import/kicad_board.h"

namespace lumetra {

// Permittivity assumed where the board names none: glass-epoxy laminate (FR-4).
inline constexpr double AssumedEpsilonR = 4.5;
inline constexpr double AssumedBoardThicknessMm = 1.6;

struct PlaneBelow {
  std::string planeLayer;   // the copper layer taken as the ground plane
  double heightMm = 0.0;
  double epsilonR = 1.0;
  std::string how;          // one line on where the numbers came from
};

// Nothing when the board has no other copper layer (the trace is in free space).
std::optional<PlaneBelow> GroundPlaneFromStackup(const KicadBoard& board,
                                                 const std::string& signalLayer);

}  // namespace lumetra
