// The identification lines printed with a radiation-pattern cut.
#pragma once

#include <string>
#include <vector>

#include "plots/pattern_data.h"

namespace lumetra {

struct PatternPrintout {
  bool ThetaCut = false;  // theta constant: the cut runs over phi
  double CutAngle = 0.0;
  PatternQuantity Quantity = PatternQuantity::ETheta;
  bool LogScale = false;
  double DbPerDivision = 10.0;
  double Maximum = 1e-20;  // largest plotted value
  double FrequencyMHz = 0.0;
  std::string ProjectFile;
};

// Heading, plot selection with the scale, frequency, quantity and source file.
std::vector<std::string> PatternPrintLines(const PatternPrintout& printout);

}  // namespace lumetra
