#include "studies/emission/emission_outputs.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace lumetra::emission {

namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Optional(const char* format, const std::optional<double>& value) {
  return value ? Format(format, *value) : std::string();
}

bool SemiAnechoic(const EmissionResult& result) { return result.SiteName == "sac"; }

}  // namespace

std::string VerdictText(const EmissionResult& result) {
  if (result.Lines.empty()) return "NO LINES: nothing was computed";
  if (result.WorstMarginDb && result.WorstLine && *result.WorstLine < result.Lines.size()) {
    const EmissionLine& worst = result.Lines[*result.WorstLine];
    return std::string(result.Passed() ? "PASS" : "FAIL") + ": worst margin " +
           Format("%.2f", *result.WorstMarginDb) + " dB at " + Format("%.6g", worst.FrequencyMHz) +
           " MHz";
  }
  const EmissionLine* highest = &result.Lines.front();
  for (const EmissionLine& line : result.Lines)
    if (line.LevelDbuvM > highest->LevelDbuvM) highest = &line;
  return "NO LIMIT: highest level " + Format("%.2f", highest->LevelDbuvM) + " dBuV/m at " +
         Format("%.6g", highest->FrequencyMHz) + " MHz";
}

std::string EmissionTable(const EmissionResult& result) {
  std::string text = "Emission at " + Format("%g", result.DistanceM) + " m, site " +
                     result.SiteName +
                     (result.LimitName.empty() ? "" : ", limit " + result.LimitName) + "\n";
  if (!result.LimitNote.empty()) text += result.LimitNote + "\n";
  for (const std::string& note : result.Notes) text += note + "\n";
  char row[200];
  std::snprintf(row, sizeof row, "%12s %11s %11s %9s %7s %7s %7s %-10s %6s\n", "f [MHz]",
                "E [dBuV/m]", "limit", "margin", "theta", "phi", "h [m]", "pol", "source");
  text += row;
  for (const EmissionLine& line : result.Lines) {
    const std::string height =
        SemiAnechoic(result) ? Format("%7.2f", line.Where.HeightM) : std::string(7, ' ');
    std::snprintf(row, sizeof row, "%12.6g %11.2f %11s %9s %7.1f %7.1f %7s %-10s %6d%s\n",
                  line.FrequencyMHz, line.LevelDbuvM, Optional("%.2f", line.LimitDbuvM).c_str(),
                  Optional("%.2f", line.MarginDb).c_str(), line.Where.ThetaDeg, line.Where.PhiDeg,
                  height.c_str(), PolarisationName(line.Where.Pol), line.LargestSource,
                  line.MarginDb && *line.MarginDb < 0.0 ? "  FAIL" : "");
    text += row;
  }
  if (result.Aborted) text += "The run stopped before its last frequency.\n";
  return text + VerdictText(result) + "\n";
}

std::string EmissionCsv(const EmissionResult& result) {
  std::string text =
      "frequency_MHz,E_dBuV_m,limit_dBuV_m,margin_dB,theta_deg,phi_deg,height_m,polarisation,"
      "largest_source\r\n";
  for (const EmissionLine& line : result.Lines) {
    text += Format("%.9g", line.FrequencyMHz) + "," + Format("%.4f", line.LevelDbuvM) + "," +
            Optional("%.4f", line.LimitDbuvM) + "," + Optional("%.4f", line.MarginDb) + "," +
            Format("%.2f", line.Where.ThetaDeg) + "," + Format("%.2f", line.Where.PhiDeg) + "," +
            (SemiAnechoic(result) ? Format("%.3f", line.Where.HeightM) : std::string()) + "," +
            PolarisationName(line.Where.Pol) + "," + std::to_string(line.LargestSource) + "\r\n";
  }
  return text;
}

std::string EmissionJson(const EmissionResult& result) {
  using nlohmann::json;
  const auto optional = [](const std::optional<double>& value) -> json {
    return value ? json(*value) : json(nullptr);
  };
  json lines = json::array();
  for (const EmissionLine& line : result.Lines) {
    json sources = json::array();
    for (const SourceDriveRecord& source : line.Sources)
      sources.push_back({{"number", source.Number},
                         {"amplitude_v", {source.AmplitudeV.real(), source.AmplitudeV.imag()}}});
    json entry = {{"frequency_mhz", line.FrequencyMHz},
                  {"e_dbuv_m", line.LevelDbuvM},
                  {"limit_dbuv_m", optional(line.LimitDbuvM)},
                  {"margin_db", optional(line.MarginDb)},
                  {"theta_deg", line.Where.ThetaDeg},
                  {"phi_deg", line.Where.PhiDeg},
                  {"polarisation", PolarisationName(line.Where.Pol)},
                  {"largest_source", line.LargestSource},
                  {"sources", sources}};
    if (SemiAnechoic(result)) entry["height_m"] = line.Where.HeightM;
    lines.push_back(entry);
  }
  const json document = {
      {"distance_m", result.DistanceM},
      {"site", result.SiteName},
      {"limit", result.LimitName.empty() ? json(nullptr) : json(result.LimitName)},
      {"limit_note", result.LimitNote},
      {"worst_margin_db", optional(result.WorstMarginDb)},
      {"passed", result.Passed()},
      {"completed", !result.Aborted},
      {"notes", result.Notes},
      {"lines", lines}};
  return document.dump(2) + "\n";
}

}  // namespace lumetra::emission
