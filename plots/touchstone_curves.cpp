#include "plots/touchstone_curves.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace lumetra {

std::vector<TouchstoneEntry> TouchstoneEntries(const network::TouchstoneData& data) {
  std::vector<TouchstoneEntry> entries;
  const std::string letter = network::ParameterName(data.Parameter);
  // Port numbers above 9 are separated, as "S10,2", so no two names read alike.
  const bool wide = data.Ports > 9;
  for (std::size_t j = 0; j < data.Ports; ++j)
    for (std::size_t i = 0; i < data.Ports; ++i)
      entries.push_back({i, j, letter + std::to_string(i + 1) + (wide ? "," : "") + std::to_string(j + 1)});
  return entries;
}

double MagnitudeDb(double magnitude) {
  constexpr double Floor = -400.0;
  if (!(magnitude > 0.0)) return Floor;
  return std::max(Floor, 20.0 * std::log10(magnitude));
}

PlotCurves TouchstoneCurves(const network::TouchstoneData& data, const TouchstoneEntry& entry,
                            const std::string& fileName) {
  PlotCurves curves;
  for (std::size_t k = 0; k < data.FrequenciesMHz.size() && k < data.Matrices.size(); ++k) {
    const double f = data.FrequenciesMHz[k];
    const network::Cplx value = data.Matrices[k](entry.Row, entry.Column);
    const double magnitude = std::abs(value);
    curves.Series[0].Add(f, MagnitudeDb(magnitude));
    curves.Series[1].Add(f, value.real());
    curves.Series[2].Add(f, magnitude);
    curves.Series[3].Add(f, std::arg(value) * 180.0 / M_PI);
  }
  curves.Title = "|" + entry.Name + "| of " + fileName;
  curves.BottomAxisTitle = "Frequency [MHz]";
  return curves;
}

}  // namespace lumetra
