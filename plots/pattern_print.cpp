#include "plots/pattern_print.h"

#include <cmath>

#include "model/number_format.h"

namespace lumetra {

namespace {

std::string ScaleText(const PatternPrintout& p) {
  const bool gain = p.Quantity == PatternQuantity::Gain;
  if (p.LogScale) {
    const double maxDb = (gain ? 10.0 : 20.0) * std::log10(p.Maximum);
    return "Logarithmic scale: " + FormatGeneral(p.DbPerDivision) + " dB/div " +
           " (max. value=" + FormatExponent4(maxDb) + " dB)";
  }
  return "Linear scale: " + FormatExponent4(0.2 * p.Maximum) + (gain ? " /div" : " V/div");
}

std::string QuantityLine(PatternQuantity quantity) {
  switch (quantity) {
    case PatternQuantity::ETheta: return "Field component: ETheta";
    case PatternQuantity::EPhi: return "Field component: EPhi";
    case PatternQuantity::ETot: return "Field component: ETotal";
    case PatternQuantity::Gain: return "Selection: Power gain";
  }
  return {};
}

}  // namespace

std::vector<std::string> PatternPrintLines(const PatternPrintout& p) {
  return {
      std::string("Normalised radiation pattern cut as a function of ") +
          (p.ThetaCut ? "Phi" : "Theta"),
      std::string(p.ThetaCut ? "Plot selection: Theta=" : "Plot selection: Phi=") +
          FormatGeneral(p.CutAngle) + " ;  " + ScaleText(p),
      "Frequency: " + FormatGeneral(p.FrequencyMHz) + " MHz",
      QuantityLine(p.Quantity),
      "Source file: " + p.ProjectFile,
  };
}

}  // namespace lumetra
