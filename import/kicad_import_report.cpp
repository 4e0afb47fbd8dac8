#include "import/kicad_import_report.h"

#include <cstdio>

namespace lumetra {

std::string FormatImportReport(const KicadImportReport& report, double maxFrequencyMHz,
                               double cellsPerWavelength) {
  std::string text;
  char line[512];
  auto add = [&](const char* format, auto... values) {
    std::snprintf(line, sizeof line, format, values...);
    text += line;
  };
  add("Board %s, layer %s\n", report.boardFile.c_str(), report.layer.c_str());
  add("Grid %.6g mm: %s\n", report.gridMm, report.gridRule.c_str());
  add("Charge cells at most %.4g mm along a trace (1/%g of the wavelength at %g MHz), "
      "%d across a track",
      report.maxCellMm, cellsPerWavelength, maxFrequencyMHz, report.cellsAcross);
  if (report.cellsAcross < 3)
    text += " (impedance work wants 3, --cells-across 3: a strip one cell wide overestimates "
            "the characteristic impedance)";
  text += "\nEnvironment: " + report.environment + "\n";
  add("%-24s %6s %5s %5s %5s %12s %12s %8s %8s %6s\n", "Net", "Tracks", "Arcs", "Pads", "Vias",
      "KiCad [mm]", "Layout [mm]", "Diff [%]", "Segments", "Pieces");
  for (const NetImport& net : report.nets) {
    const double difference =
        net.kicadLengthMm > 0.0
            ? 100.0 * (net.layoutLengthMm - net.kicadLengthMm) / net.kicadLengthMm
            : 0.0;
    add("%-24s %6d %5d %5d %5d %12.3f %12.3f %+8.2f %8d %6d\n", net.name.c_str(), net.tracks,
        net.arcs, net.pads, net.vias, net.kicadLengthMm, net.layoutLengthMm, difference,
        net.segments, net.pieces);
  }
  add("Layout: %d segments, %lld charge cells; %d Jx + %d Jy + %d ground point(s) = %d unknowns\n",
      report.segments, report.charges, report.jx, report.jy, report.groundPoints,
      report.unknowns);
  for (const std::string& warning : report.warnings) text += "Warning: " + warning + "\n";
  return text;
}

}  // namespace lumetra
