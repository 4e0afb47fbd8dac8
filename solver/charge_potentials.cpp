#include "solver/charge_potentials.h"

namespace lumetra {

void PrepareChargeTable(ChargePotentialTable& table, std::size_t charges, std::size_t observers) {
  table.Observers = static_cast<std::int32_t>(observers);
  table.Values.assign(charges * observers, Complex{});
}

void FillChargeColumn(ChargePotentialTable& table, std::int32_t charge,
                      const std::vector<ChargeCell>& charges,
                      const std::vector<PlanePoint>& observers, CellIntegralCache& cache,
                      const GridValues* grid) {
  const ChargeCell& q = charges[static_cast<std::size_t>(charge)];
  const CellSizeKey size = CellIntegralCache::SizeKey(q.Dx, q.Dy);
  Complex* column = table.Values.data() +
                    static_cast<std::size_t>(charge) * static_cast<std::size_t>(table.Observers);
  for (std::size_t o = 0; o < observers.size(); ++o) {
    const Complex tabulated = grid ? grid->At(static_cast<std::int32_t>(o)) : Complex{};
    column[o] = grid && !AskTheCache(tabulated) ? tabulated
                                                : cache.Integral(size, q.X, q.Y, observers[o].X, observers[o].Y);
  }
}

}  // namespace lumetra
