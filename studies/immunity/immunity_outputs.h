// The texts of an immunity run: the table for the terminal, the CSV file (CR LF)
// and the JSON document, each with the margin against a threshold when one is set.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "studies/immunity/immunity_run.h"

namespace lumetra::immunity {

inline constexpr const char* ThresholdMessage =
    "Error: The threshold must be a positive number of volts";

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

// The one line a person reads first: the largest voltage, where and when, and
// against the threshold when one is set, e.g. "Threshold exceeded: 0.1244 V
// (101.9 dBuV) across load 2 at 412.80 MHz, 1.9 dB over 0.1 V". Empty without points.
std::string ImmunityVerdict(const ImmunityReport& report);

std::string ImmunityTable(const ImmunityReport& report);
// The terminal table's columns one by one, for a table of cells: frequency, port,
// voltage, dBuV, theta, phi, polarisation and (with a threshold) the margin.
std::vector<std::string> ImmunityTableHeader(bool withThreshold);
std::vector<std::string> ImmunityTableCells(const ImmunityPoint& point, const PortWorst& worst,
                                            std::optional<double> thresholdV);
std::string ImmunityCsv(const ImmunityReport& report);
std::string ImmunityJson(const ImmunityReport& report);

}  // namespace lumetra::immunity
