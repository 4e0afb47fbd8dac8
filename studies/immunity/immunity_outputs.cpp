#include "studies/immunity/immunity_outputs.h"

#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

namespace lumetra::immunity {

namespace {

std::string Format(const char* format, double a) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, a);
  return buffer;
}

}  // namespace

const char* PolarisationName(Polarisation pol) {
  return pol == Polarisation::Theta ? "theta" : "phi";
}

std::string PortLabel(const ImmunityPort& port) {
  return (port.Kind == PortKind::Load ? "L" : "S") + std::to_string(port.Number);
}

double MarginDb(double volts, double thresholdV) {
  return 20.0 * std::log10(thresholdV / std::max(volts, 1e-300));
}

bool ThresholdExceeded(const ImmunityReport& report) {
  if (!report.ThresholdV) return false;
  for (const ImmunityPoint& point : report.Result.Points)
    for (const PortWorst& w : point.Ports)
      if (w.VoltageV > *report.ThresholdV) return true;
  return false;
}

std::string ImmunityVerdict(const ImmunityReport& report) {
  const ImmunityPoint* worstPoint = nullptr;
  const PortWorst* worst = nullptr;
  for (const ImmunityPoint& point : report.Result.Points)
    for (const PortWorst& w : point.Ports)
      if (!worst || w.VoltageV > worst->VoltageV) {
        worstPoint = &point;
        worst = &w;
      }
  if (!worst) return {};
  const std::string where = Format("%.4g V", worst->VoltageV) + " (" +
                            Format("%.1f dBuV", DbMicrovolt(worst->VoltageV)) + ") across " +
                            (worst->Port.Kind == PortKind::Load ? "load " : "source ") +
                            std::to_string(worst->Port.Number) + " at " +
                            Format("%.2f MHz", worstPoint->FrequencyMHz);
  if (!report.ThresholdV) return "Worst: " + where;
  const double margin = MarginDb(worst->VoltageV, *report.ThresholdV);
  const std::string threshold = Format("%g V", *report.ThresholdV);
  if (worst->VoltageV > *report.ThresholdV)
    return "Threshold exceeded: " + where + ", " + Format("%.1f dB", -margin) + " over " + threshold;
  return "Below the threshold: " + where + ", " + Format("%.1f dB", margin) + " under " + threshold;
}

std::string ImmunityTable(const ImmunityReport& report) {
  std::string text = "Field " + Format("%g", report.FieldVPerM) + " V/m";
  if (report.ThresholdV) text += ", threshold " + Format("%g", *report.ThresholdV) + " V";
  text += "\n  f/MHz  port    voltage/V   dBuV  theta/deg  phi/deg  pol";
  if (report.ThresholdV) text += "    margin/dB";
  text += "\n";
  for (const ImmunityPoint& point : report.Result.Points)
    for (const PortWorst& w : point.Ports) {
      char line[200];
      std::snprintf(line, sizeof line, "%7.2f  %-5s %11.4e %6.1f %10.2f %8.2f  %-5s",
                    point.FrequencyMHz, PortLabel(w.Port).c_str(), w.VoltageV,
                    DbMicrovolt(w.VoltageV), w.ThetaDeg, w.PhiDeg, PolarisationName(w.Pol));
      text += line;
      if (report.ThresholdV) {
        const double margin = MarginDb(w.VoltageV, *report.ThresholdV);
        text += Format("%9.1f", margin);
        if (w.VoltageV > *report.ThresholdV) text += "  EXCEEDED";
      }
      text += "\n";
    }
  return text;
}

std::vector<std::string> ImmunityTableHeader(bool withThreshold) {
  std::vector<std::string> header{"f [MHz]",     "Port",    "Voltage [V]", "dBuV",
                                  "Theta [deg]", "Phi [deg]", "Polarisation"};
  if (withThreshold) header.emplace_back("Margin [dB]");
  return header;
}

std::vector<std::string> ImmunityTableCells(const ImmunityPoint& point, const PortWorst& worst,
                                            std::optional<double> thresholdV) {
  std::vector<std::string> cells{Format("%.2f", point.FrequencyMHz), PortLabel(worst.Port),
                                 Format("%.4e", worst.VoltageV),
                                 Format("%.1f", DbMicrovolt(worst.VoltageV)),
                                 Format("%.2f", worst.ThetaDeg), Format("%.2f", worst.PhiDeg),
                                 PolarisationName(worst.Pol)};
  if (thresholdV) cells.push_back(Format("%.1f", MarginDb(worst.VoltageV, *thresholdV)));
  return cells;
}

std::string ImmunityCsv(const ImmunityReport& report) {
  std::string text =
      "frequency_mhz,port,number,voltage_v,dbuv,open_circuit_v,theta_deg,phi_deg,polarisation";
  if (report.ThresholdV) text += ",margin_db";
  text += "\r\n";
  for (const ImmunityPoint& point : report.Result.Points)
    for (const PortWorst& w : point.Ports) {
      text += Format("%.6g", point.FrequencyMHz) + "," +
              (w.Port.Kind == PortKind::Load ? "load" : "source") + "," +
              std::to_string(w.Port.Number) + "," + Format("%.6e", w.VoltageV) + "," +
              Format("%.2f", DbMicrovolt(w.VoltageV)) + "," + Format("%.6e", w.OpenCircuitV) +
              "," + Format("%.2f", w.ThetaDeg) + "," + Format("%.2f", w.PhiDeg) + "," +
              PolarisationName(w.Pol);
      if (report.ThresholdV) text += "," + Format("%.2f", MarginDb(w.VoltageV, *report.ThresholdV));
      text += "\r\n";
    }
  return text;
}

std::string ImmunityJson(const ImmunityReport& report) {
  using nlohmann::json;
  json doc;
  doc["field_v_m"] = report.FieldVPerM;
  if (report.ThresholdV) doc["threshold_v"] = *report.ThresholdV;
  doc["exceeded"] = ThresholdExceeded(report);
  json points = json::array();
  for (const ImmunityPoint& point : report.Result.Points) {
    json loads = json::array(), sources = json::array();
    for (const PortWorst& w : point.Ports) {
      json entry{{"number", w.Port.Number},
                 {"voltage_v", w.VoltageV},
                 {"dbuv", DbMicrovolt(w.VoltageV)},
                 {"open_circuit_v", w.OpenCircuitV},
                 {"theta_deg", w.ThetaDeg},
                 {"phi_deg", w.PhiDeg},
                 {"polarisation", PolarisationName(w.Pol)}};
      if (report.ThresholdV) entry["margin_db"] = MarginDb(w.VoltageV, *report.ThresholdV);
      (w.Port.Kind == PortKind::Load ? loads : sources).push_back(std::move(entry));
    }
    json p{{"frequency_mhz", point.FrequencyMHz}, {"loads", std::move(loads)}};
    if (!sources.empty()) p["sources"] = std::move(sources);
    points.push_back(std::move(p));
  }
  doc["points"] = std::move(points);
  return doc.dump(2) + "\n";
}

}  // namespace lumetra::immunity
