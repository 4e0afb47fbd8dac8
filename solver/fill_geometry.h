// Where the charge potentials of the fill are observed.
//
// The scalar-potential part of an entry needs the potential of charge cells at the
// two end points P+ and P- of the testing element (and at ground-point cells). On a
// discretised layout those end points are the centres of the element's own charge
// cells, shared by neighbouring elements, so the distinct observation points are
// about as many as the charge cells. Each distinct point gets an index into the
// potential tables; each end point also keeps the list of charge cells whose
// centres it coincides with, decided on its own exact coordinates, which selects
// the self form.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/element_lists.h"

namespace lumetra {

struct PlanePoint {
  double X, Y;  // m
};

// For every point of a list, the charge cells (0-based) whose centres lie within
// CoincidenceTolerance of it in both x and y.
struct CoincidentCharges {
  std::vector<std::int32_t> Start;    // Start[p] .. Start[p+1]-1 index Charges
  std::vector<std::int32_t> Charges;

  bool Contains(std::int32_t point, std::int32_t charge) const {
    for (std::int32_t i = Start[point]; i < Start[point + 1]; ++i)
      if (Charges[i] == charge) return true;
    return false;
  }
};

// The same relation seen from the cells: for every charge cell, the points whose
// coincident cells include it (Start[q] .. Start[q+1]-1 index Points).
struct PointsOnCharges {
  std::vector<std::int32_t> Start;
  std::vector<std::int32_t> Points;
};

// The end points of the current elements of one direction, 0-based by element:
// P+ = centre + half the length along the current, P- = centre - half of it.
struct CurrentEndPoints {
  std::vector<PlanePoint> Plus, Minus;
  std::vector<std::int32_t> PlusObserver, MinusObserver;  // index into FillGeometry::Observers
  CoincidentCharges PlusCoincident, MinusCoincident;
  PointsOnCharges PlusOnCharge, MinusOnCharge;  // the elements whose P+ (P-) lies on each cell
};

struct FillGeometry {
  std::vector<PlanePoint> Observers;   // distinct observation points
  CurrentEndPoints Jx, Jy;
  std::vector<std::int32_t> GroundCellObserver;  // centre of each ground point's charge cell
};

// Checks that every element and ground point names an existing charge cell
// (std::invalid_argument otherwise) and works out the observation points. Points
// whose coordinates agree to 1e-15 m share an index.
FillGeometry BuildFillGeometry(const ElementLists& elements);

}  // namespace lumetra
