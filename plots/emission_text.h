// The words and numbers the emission chart, report and window show: one place,
// so that the window's table, the chart's annotation and the printed report never
// disagree about a value or how it is written.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/project.h"
#include "studies/emission/emission_outputs.h"
#include "studies/emission/emission_run.h"

namespace lumetra::emission {

// Fixed with the given number of decimals: FormatDecimals(-3.21, 1) is "-3.2".
std::string FormatDecimals(double value, int decimals);
// A frequency in MHz to six significant digits without trailing zeros: "175",
// "33.3333", "1000".
std::string FormatMHz(double frequencyMHz);
// "3 m", "10 m", "4.5 m".
std::string FormatMetres(double metres);
// "free-space site" for "free", "semi-anechoic site" for "sac", else the name.
std::string SiteDescription(const std::string& siteName);
// "trapezoid 3.3 V, 25 MHz, rise 1 ns, fall 1 ns, duty 0.5"; "constant 1 V";
// "constant 1+0.5j V"; "lines from a file: 12 lines, 25 to 975 MHz".
std::string SignalDescription(const SourceSignal& signal);
// Where the maximum was read: "theta 90, phi 45 deg" on the free site,
// "1.25 m, 45 deg, horizontal" on the semi-anechoic site: the antenna's height,
// the turntable's angle and the antenna's polarisation.
std::string WhereText(const EmissionLine& line, const std::string& siteName);

// One row of a table of lines: frequency (MHz), level (dBuV/m), limit, margin,
// largest source, where the maximum was read. Limit and margin are "-" outside the limit's range. The
// header's titles break onto two lines before their units; the last one says what
// the site's place of the maximum is made of.
using EmissionTableRow = std::array<std::string, 6>;
EmissionTableRow EmissionTableHeader(const std::string& siteName = "");
EmissionTableRow EmissionTableRowOf(const EmissionLine& line, const std::string& siteName);

// Everything the one-page report writes, as text.
struct EmissionReportText {
  std::string Title;                    // "Radiated-emission report"
  std::string ProjectLine;              // "Project: clock-trace.PRO"
  std::string DateLine;                 // "Date: 2026-12-07 11:54"
  std::string Verdict;                  // VerdictText
  std::vector<std::string> Settings;    // site, distance, limit, stop, signals
  std::vector<std::string> Notes;       // how the field is obtained, the limit's note
  std::vector<EmissionTableRow> Worst;  // the ten worst lines, worst first
};

// The report's texts; date is the date line's value as the caller formats it.
EmissionReportText BuildEmissionReportText(const Project& project, const EmissionRequest& request,
                                           const EmissionResult& result, const std::string& date);

}  // namespace lumetra::emission
