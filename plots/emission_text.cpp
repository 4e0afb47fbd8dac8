#include "plots/emission_text.h"

#include <cmath>
#include <cstdio>
#include <variant>

namespace lumetra::emission {

namespace {

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Six significant digits without trailing zeros or a stray exponent for the
// values these texts show.
std::string Short(double value) {
  if (!std::isfinite(value)) return "-";
  if (value == 0.0) return "0";
  return Printf("%.6g", value);
}

std::string ComplexVolts(std::complex<double> v) {
  if (v.imag() == 0.0) return Short(v.real()) + " V";
  return Short(v.real()) + (v.imag() < 0.0 ? "-" : "+") + Short(std::abs(v.imag())) + "j V";
}

}  // namespace

std::string FormatDecimals(double value, int decimals) {
  if (!std::isfinite(value)) return "-";
  char format[16];
  std::snprintf(format, sizeof format, "%%.%df", decimals);
  return Printf(format, value);
}

std::string FormatMHz(double frequencyMHz) { return Short(frequencyMHz); }

std::string FormatMetres(double metres) { return Short(metres) + " m"; }

std::string SiteDescription(const std::string& siteName) {
  if (siteName == "free") return "free-space site";
  if (siteName == "sac") return "semi-anechoic site";
  return siteName;
}

std::string SignalDescription(const SourceSignal& signal) {
  if (const auto* constant = std::get_if<ConstantDrive>(&signal))
    return "constant " + ComplexVolts(constant->VoltageV) + " at every frequency";
  if (const auto* wave = std::get_if<TrapezoidWaveform>(&signal)) {
    const double fall = wave->FallNs ? *wave->FallNs : wave->RiseNs;
    return "trapezoid " + Short(wave->AmplitudeV) + " V, " + Short(wave->FundamentalMHz) + " MHz, rise " +
           Short(wave->RiseNs) + " ns, fall " + Short(fall) + " ns, duty " + Short(wave->Duty);
  }
  const auto& file = std::get<DriveLineList>(signal);
  if (file.Lines.empty()) return "lines from a file: none";
  return "lines from a file: " + std::to_string(file.Lines.size()) +
         (file.Lines.size() == 1 ? " line, " : " lines, ") + Short(file.Lines.front().FrequencyMHz) + " to " +
         Short(file.Lines.back().FrequencyMHz) + " MHz";
}

std::string WhereText(const EmissionLine& line, const std::string& siteName) {
  const SiteMaximum& at = line.Where;
  if (siteName == "sac")
    return Short(std::round(at.HeightM * 100.0) / 100.0) + " m, " + FormatDecimals(at.PhiDeg, 0) + " deg, " +
           PolarisationName(at.Pol);
  return "theta " + FormatDecimals(at.ThetaDeg, 0) + ", phi " + FormatDecimals(at.PhiDeg, 0) + " deg";
}

EmissionTableRow EmissionTableHeader(const std::string& siteName) {
  const char* where = siteName == "sac"    ? "Maximum at\n(height, turntable, pol.)"
                      : siteName == "free" ? "Maximum at\n(direction)"
                                           : "Maximum at";
  return {"Frequency\n(MHz)", "Level\n(dBuV/m)", "Limit\n(dBuV/m)", "Margin\n(dB)", "Largest\nsource", where};
}

EmissionTableRow EmissionTableRowOf(const EmissionLine& line, const std::string& siteName) {
  // Two decimals, as the terminal table and the verdict write them.
  return {FormatMHz(line.FrequencyMHz),
          FormatDecimals(line.LevelDbuvM, 2),
          line.LimitDbuvM ? FormatDecimals(*line.LimitDbuvM, 2) : "-",
          line.MarginDb ? FormatDecimals(*line.MarginDb, 2) : "-",
          line.LargestSource > 0 ? std::to_string(line.LargestSource) : "-",
          WhereText(line, siteName)};
}

EmissionReportText BuildEmissionReportText(const Project& project, const EmissionRequest& request,
                                           const EmissionResult& result, const std::string& date) {
  EmissionReportText text;
  text.Title = "Radiated-emission report";
  const std::string file = project.ProjectFile;
  const std::size_t slash = file.find_last_of('/');
  text.ProjectLine = "Project: " + (file.empty() ? std::string("(unnamed)") : file.substr(slash == std::string::npos ? 0 : slash + 1));
  text.DateLine = "Date: " + date;
  text.Verdict = VerdictText(result);
  if (result.Aborted) text.Verdict += " (the run was aborted; only the lines computed are shown)";

  const SiteSettings& site = request.Site;
  if (site.Kind == SiteKind::SemiAnechoic)
    text.Settings.push_back("Site: semi-anechoic (open-area test site), board " + Short(site.EutHeightM) +
                            " m above a conducting floor, antenna " + Short(site.MinHeightM) + " to " +
                            Short(site.MaxHeightM) + " m high, turntable through 360 deg, horizontal and vertical polarisation");
  else
    text.Settings.push_back(std::string("Site: free space, largest |E| over ") +
                            (site.UpperHemisphereOnly ? "the upper hemisphere" : "all directions"));
  text.Settings.push_back("Distance: " + FormatMetres(result.DistanceM > 0.0 ? result.DistanceM : site.DistanceM));
  // Which tables make up the limit and how they were moved to the distance is
  // said in the notes (the run's limit note).
  if (request.Limit)
    text.Settings.push_back("Limit: " + request.Limit->Name);
  else
    text.Settings.push_back("Limit: none");
  text.Settings.push_back("Stop frequency: " + FormatMHz(request.StopMHz) + " MHz, " +
                          std::to_string(result.Lines.size()) + (result.Lines.size() == 1 ? " line" : " lines") +
                          " computed");
  for (std::size_t i = 0; i < request.Signals.size(); ++i)
    text.Settings.push_back("Source " + std::to_string(i + 1) + ": " + SignalDescription(request.Signals[i]));

  text.Notes = result.Notes;
  if (!result.LimitNote.empty()) text.Notes.push_back(result.LimitNote);

  for (std::size_t index : WorstLines(result, 10))
    if (index < result.Lines.size()) text.Worst.push_back(EmissionTableRowOf(result.Lines[index], result.SiteName));
  return text;
}

}  // namespace lumetra::emission
