// The potential integrals of every charge cell seen from every observation point
// of the fill, worked out once per frequency and shared by all matrix blocks.
//
// Every scalar-potential term of an entry is the integral of e^(-jkR)/R over one
// charge cell seen from an end point of the testing element (or a ground-point
// cell centre): the four integrals A1..A4 of an entry are four reads of this table,
// in the trace plane (free space) and at the distance 2h (image in the ground plane).
// The table holds CellIntegral values throughout; where an end point coincides
// with the cell's own centre the fill takes the cell's self integral instead.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/cell_integral_cache.h"
#include "solver/cell_offset_grid.h"
#include "solver/element_lists.h"
#include "solver/fill_geometry.h"

namespace lumetra {

struct ChargePotentialTable {
  std::int32_t Observers = 0;
  std::vector<Complex> Values;  // charge-major: Values[q * Observers + o]

  const Complex* Column(std::int32_t charge) const {
    return Values.data() + static_cast<std::size_t>(charge) * static_cast<std::size_t>(Observers);
  }
};

// Sizes the table for the charges and observation points (zeros).
void PrepareChargeTable(ChargePotentialTable& table, std::size_t charges, std::size_t observers);

// Fills the column of one charge cell: CellIntegral over the cell from every
// observation point, at the plane distance of the cache, read from the cell's
// offset grid at that distance where it has one.
void FillChargeColumn(ChargePotentialTable& table, std::int32_t charge,
                      const std::vector<ChargeCell>& charges,
                      const std::vector<PlanePoint>& observers, CellIntegralCache& cache,
                      const GridValues* grid = nullptr);

}  // namespace lumetra
