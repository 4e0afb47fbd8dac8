// The unknowns of one frequency point as the solver sees them: charge cells, Jx and
// Jy current elements (in-segment ones followed by the connecting ones) and ground
// points, every length in metres.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace lumetra {

struct ChargeCell {
  double X, Y;    // centre, m
  double Dx, Dy;  // size, m
};

// A current element from the centre of charge cell Negative to the centre of charge
// cell Positive (1-based numbers): left to right for Jx, bottom to top for Jy.
struct CurrentCell {
  double X, Y;
  double Dx, Dy;
  std::int32_t Negative, Positive;
};

// A vertical current from the midpoint of a charge-cell edge down to the ground plane.
struct GroundContact {
  std::int32_t ChargeNo;  // 1-based charge cell it sits on
  std::int32_t EdgeCode;  // 1 left, 2 right, 3 bottom, 4 top
  int Side;               // +1 on the left or bottom edge, -1 on the right or top edge
  bool OnXEdge;           // left or right edge: its half strip carries x current
  double X, Y;            // edge midpoint, m
};

struct ElementLists {
  std::vector<ChargeCell> Charges;
  std::vector<CurrentCell> Jx;
  std::vector<CurrentCell> Jy;
  std::vector<GroundContact> GroundPoints;

  // Largest extent of the current element centres along x or y, m.
  double LayoutSpan = 0.0;
  // Equal-size elements make the xx (yy) block symmetric with a constant diagonal;
  // SymAll also needs square, equal charge cells. Ground points clear all three.
  bool SymX = true, SymY = true, SymAll = true;

  std::int32_t NX() const { return static_cast<std::int32_t>(Jx.size()); }
  std::int32_t NY() const { return static_cast<std::int32_t>(Jy.size()); }
  std::int32_t NG() const { return static_cast<std::int32_t>(GroundPoints.size()); }
};

// Builds the lists from the temporary element files under tempBase ("TempFile.PRO":
// its .CHE, .JXE, .JYE, .GPC) and the project's connecting elements (.JXC, .JYC next
// to projectFile), converting millimetres to metres. Element references outside
// the charge list are a FileError.
ElementLists LoadElementLists(const std::filesystem::path& tempBase,
                              const std::filesystem::path& projectFile);

// The derived values (LayoutSpan and the symmetry flags) of lists filled by hand.
void DeriveLayoutProperties(ElementLists& lists);

}  // namespace lumetra
