// Connecting current elements across the shared edge of two touching segments.
//
// A connecting Jx element joins the last cell of a row of the left segment to the
// first cell of the right segment's row at exactly the same height; a connecting Jy
// element joins a cell of the lower segment's top row to the upper segment's bottom
// row cell in exactly the same column. Charge densities of touching segments must
// agree along the shared edge, or rows would not line up and current could not
// cross; such a layout is refused.
#pragma once

#include <vector>

#include "model/discretisation.h"
#include "model/project.h"
#include "model/user_interface.h"

namespace lumetra {

// Two edges touch when their coordinates differ by less than this, mm.
inline constexpr double TouchTolerance = 1e-12;

// The two lines the connection dialog shows for incompatible densities.
inline constexpr const char* CannotConnectText = "Error: Cannot make connections!";
inline constexpr const char* CheckChargesText =
    "Check the number of charge elements in adjacent segments";
// Dialog captions of the connection step.
inline constexpr const char* ConnectingCaption = "Defining connecting elements";
inline constexpr const char* ConnectedCaption = "Segments are connected!";

// True when some pair of touching segments has unequal charge densities across
// the shared edge (compared exactly).
bool CheckConnections(const std::vector<Segment>& segments);

struct ConnectingElements {
  std::vector<CurrentElement> Jx;  // in .JXC order
  std::vector<CurrentElement> Jy;  // in .JYC order
};

// Every connecting element of a layout, in file order: segment A in list order
// outside, segment B inside, rows (columns) of A, then of B, ascending.
ConnectingElements FindConnectingElements(const std::vector<Segment>& segments);

// The connection step: checks compatibility, writes the project's .JXC and .JYC and
// sets Connected. Returns false (files untouched, Connected false) when touching
// segments are incompatible; the caller shows CannotConnectText and CheckChargesText.
// Throws FileError when the files cannot be written.
bool RunConnectionStep(Project& project, UserInterface& ui);

}  // namespace lumetra
