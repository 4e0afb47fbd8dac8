#include "tests/engine/nec_reference.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_dir.h"

namespace lumetra::testing {

std::optional<std::vector<NecPoint>> Nec2cRun(const std::vector<NecWire>& wires, int feedWire,
                                              int feedSegment, bool perfectGround, double startMHz,
                                              double stepMHz, int count) {
  TempDir dir;
  const auto input = dir / "wires.nec", output = dir / "wires.out";
  {
    std::ofstream deck(input);
    char line[240];
    deck << "CM lumetra reference\nCE\n";
    int tag = 0;
    for (const NecWire& w : wires) {
      std::snprintf(line, sizeof line, "GW %d %d %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", ++tag,
                    w.Segments, w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.Radius);
      deck << line;
    }
    deck << (perfectGround ? "GE 1\nGN 1\n" : "GE 0\n");
    deck << "EX 0 " << feedWire << " " << feedSegment << " 0 1 0\n";
    std::snprintf(line, sizeof line, "FR 0 %d 0 0 %.9g %.9g\n", count, startMHz, stepMHz);
    deck << line << "XQ\nEN\n";
  }
  const std::string command =
      "nec2c -i '" + input.string() + "' -o '" + output.string() + "' > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return std::nullopt;

  // Per frequency: the input parameters' line (tag, segment, V, I, Z), then the
  // table of segment currents (segment, tag, x, y, z, length, I).
  std::ifstream in(output);
  std::vector<NecPoint> points;
  std::string text;
  bool currents = false;
  while (std::getline(in, text)) {
    if (const auto at = text.find("FREQUENCY :"); at != std::string::npos) {
      points.push_back({std::atof(text.c_str() + at + 11), {}, {}});
      currents = false;
    } else if (points.empty()) {
      continue;
    } else if (text.find("ANTENNA INPUT PARAMETERS") != std::string::npos) {
      for (int skip = 0; skip < 3 && std::getline(in, text); ++skip) {
      }
      std::istringstream fields(text);
      double tag, seg, vr, vi, ir, ii, zr, zi;
      if (fields >> tag >> seg >> vr >> vi >> ir >> ii >> zr >> zi) points.back().Impedance = {zr, zi};
    } else if (text.find("CURRENTS AND LOCATION") != std::string::npos) {
      currents = true;
    } else if (currents) {
      std::istringstream fields(text);
      double seg, tag, x, y, z, length, re, im;
      if (fields >> seg >> tag >> x >> y >> z >> length >> re >> im) points.back().Currents.push_back({re, im});
    }
  }
  if (points.size() != static_cast<std::size_t>(count)) return std::nullopt;
  return points;
}

std::optional<std::vector<ImpedancePoint>> Nec2cImpedances(const std::vector<NecWire>& wires,
                                                          int feedWire, int feedSegment,
                                                          bool perfectGround, double startMHz,
                                                          double stepMHz, int count) {
  const auto run = Nec2cRun(wires, feedWire, feedSegment, perfectGround, startMHz, stepMHz, count);
  if (!run) return std::nullopt;
  std::vector<ImpedancePoint> points;
  for (const NecPoint& p : *run) points.push_back({p.FrequencyMHz, p.Impedance});
  return points;
}

std::optional<std::vector<ImpedancePoint>> Nec2cDipole(double lengthM, double radiusM,
                                                      int segments, double startMHz,
                                                      double stepMHz, int count) {
  return Nec2cImpedances({{-lengthM / 2, 0, 0, lengthM / 2, 0, 0, radiusM, segments}}, 1,
                         (segments + 1) / 2, false, startMHz, stepMHz, count);
}

std::optional<Resonance> FirstResonance(const std::vector<ImpedancePoint>& points) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    const ImpedancePoint& a = points[i - 1];
    const ImpedancePoint& b = points[i];
    if ((a.Impedance.imag() < 0) != (b.Impedance.imag() < 0)) {
      const double t = a.Impedance.imag() / (a.Impedance.imag() - b.Impedance.imag());
      return Resonance{a.FrequencyMHz + t * (b.FrequencyMHz - a.FrequencyMHz),
                       a.Impedance.real() + t * (b.Impedance.real() - a.Impedance.real())};
    }
  }
  return std::nullopt;
}

std::vector<ImpedancePoint> PortImpedances(const ComputationReport& report) {
  std::vector<ImpedancePoint> points;
  for (const FrequencyPointResult& p : report.Points) {
    std::complex<double> current;
    for (const SourceReading& s : p.Sources) current += std::complex<double>(s.Current->Re, s.Current->Im);
    points.push_back({p.FrequencyMHz, 1.0 / current});
  }
  return points;
}

}  // namespace lumetra::testing
