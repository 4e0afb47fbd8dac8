// Debian's nec2c wire-antenna solver as an independent reference: a straight wire
// along x, centre-fed with 1 V, over a range of frequencies.
#pragma once

#include <complex>
#include <optional>
#include <vector>

#include "studies/computation_driver.h"

namespace lumetra::testing {

struct ImpedancePoint {
  double FrequencyMHz;
  std::complex<double> Impedance;  // ohm
};

// nullopt when nec2c is not installed or fails.
std::optional<std::vector<ImpedancePoint>> Nec2cDipole(double lengthM, double radiusM,
                                                      int segments, double startMHz,
                                                      double stepMHz, int count);

// A straight wire between two points (m) cut into equal segments.
struct NecWire {
  double X1, Y1, Z1, X2, Y2, Z2;
  double Radius;
  int Segments;
};

// One frequency of a nec2c run: the input impedance at the feed and the current
// of every segment (Currents[k] is absolute segment k + 1), A for 1 V.
struct NecPoint {
  double FrequencyMHz;
  std::complex<double> Impedance;
  std::vector<std::complex<double>> Currents;
};

// Any wire structure fed with 1 V on segment feedSegment of wire feedWire (both
// 1-based), in free space or over a perfectly conducting plane z = 0; nullopt when
// nec2c is not installed or fails.
std::optional<std::vector<NecPoint>> Nec2cRun(const std::vector<NecWire>& wires, int feedWire,
                                              int feedSegment, bool perfectGround, double startMHz,
                                              double stepMHz, int count);
// The same run's impedances alone.
std::optional<std::vector<ImpedancePoint>> Nec2cImpedances(const std::vector<NecWire>& wires,
                                                          int feedWire, int feedSegment,
                                                          bool perfectGround, double startMHz,
                                                          double stepMHz, int count);

struct Resonance {
  double FrequencyMHz;
  double Resistance;  // ohm, at the zero crossing of the reactance
};

// The first frequency where the reactance crosses zero, by linear interpolation.
std::optional<Resonance> FirstResonance(const std::vector<ImpedancePoint>& points);

// Our port impedance at every computed point: 1 V over the sum of the currents of
// the sources (the rows of one port fed in parallel).
std::vector<ImpedancePoint> PortImpedances(const ComputationReport& report);

}  // namespace lumetra::testing
