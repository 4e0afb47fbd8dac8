// Small layouts and project files for the result-file and far-field tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "solver/element_lists.h"
#include "tests/support/temp_dir.h"

namespace lumetra::testing {

// A .PRO of the fifteen lines the project writer produces, with the given
// ground-plane height (line 7, "0": none) and dielectric constant (line 15).
inline void WriteProject(const std::filesystem::path& pro, const std::string& heightMm,
                         const std::string& dielConst = "1") {
  WriteBytes(pro, "01.02.2024\r\n12:00:00\r\n160\r\n100\r\n1\r\n4\r\n" + heightMm +
                      "\r\n0\r\n3\r\n1\r\n1\r\n0\r\n0\r\n0\r\n" + dielConst + "\r\n");
}

// One charge cell of size dx by dy (m) centred at (x, y).
inline ChargeCell Cell(double x, double y, double dx, double dy) { return {x, y, dx, dy}; }

// A current element (m) joining charge cells 1 and 2; the numbers do not matter here.
inline CurrentCell Element(double x, double y, double dx, double dy) {
  return {x, y, dx, dy, 1, 2};
}

// A ground point on the given edge (1 left, 2 right, 3 bottom, 4 top) of charge
// cell chargeNo of lists, at that edge's midpoint.
inline GroundContact EdgePoint(const ElementLists& lists, int chargeNo, int edge) {
  const ChargeCell& q = lists.Charges.at(static_cast<std::size_t>(chargeNo - 1));
  const bool onX = edge == 1 || edge == 2;
  const int side = (edge == 1 || edge == 3) ? +1 : -1;
  double x = q.X, y = q.Y;
  if (edge == 1) x -= q.Dx / 2;
  if (edge == 2) x += q.Dx / 2;
  if (edge == 3) y -= q.Dy / 2;
  if (edge == 4) y += q.Dy / 2;
  return {chargeNo, edge, side, onX, x, y};
}

}  // namespace lumetra::testing
