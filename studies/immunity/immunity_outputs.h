// The texts of an immunity run: the table for the terminal, the CSV file (CR LF)
// and the JSON document, each with the margin against a threshold when one is set.
#pragma once

#include <optional>
#include <string>

#include "studies/immunity/immunity_run.h"

namespace lumetra::immunity {

struct ImmunityReport {
  const ImmunityResult& Result;
  double FieldVPerM = 10.0;
  std::optional<double> ThresholdV;  // volts; none: no margins
};

// "theta" or "phi".
const char* PolarisationName(Polarisation pol);
// "L3" for load 3, "S1" for source 1.
std::string PortLabel(const ImmunityPort& port);
// Margin of a voltage below the threshold, dB: positive while the voltage stays below.
double MarginDb(double volts, double thresholdV);
// Whether any port at any frequency exceeds the threshold.
bool ThresholdExceeded(const ImmunityReport& report);

std::string ImmunityTable(const ImmunityReport& report);
std::string ImmunityCsv(const ImmunityReport& report);
std::string ImmunityJson(const ImmunityReport& report);

}  // namespace lumetra::immunity
