#include "studies/network/network_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

namespace lumetra::network {

namespace {

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

}  // namespace

std::string SingularNetworkMessage(double frequencyMHz, NetworkParameter parameter) {
  return "Error: The network at " + Number(frequencyMHz) + " MHz has no " +
         ParameterName(parameter) + " matrix (singular)";
}

std::string TouchstoneNameMessage(std::size_t ports) {
  return "Error: The layout has " + std::to_string(ports) + " ports, so its Touchstone file is named .s" +
         std::to_string(ports) + "p";
}

TouchstoneData NetworkTouchstone(const NetworkResult& result,
                                          const std::string& projectFile,
                                          NetworkParameter parameter,
                                          PairFormat format,
                                          const std::vector<double>& references) {
  const std::size_t n = result.Ports.size();
  const std::vector<double> perPort = ReferencesFor(n, references);
  TouchstoneData data;
  data.Parameter = parameter;
  data.Format = format;
  data.ReferenceOhms = references;
  data.Ports = n;
  data.Comments = {"Lumetra network parameters of " + std::filesystem::path(projectFile).filename().string(),
                   std::to_string(result.Unknowns) + " unknowns; port k is voltage source k, " +
                       "the other ports shorted while one is driven"};
  for (const NetworkPort& p : result.Ports) {
    char line[120];
    std::snprintf(line, sizeof line, "port %d: %s element %d at x = %g mm, y = %g mm", p.Number,
                  p.IsJx ? "Jx" : "Jy", p.ElementNo, p.X, p.Y);
    data.Comments.push_back(line);
  }
  for (const NetworkPoint& point : result.Points) {
    std::optional<PortMatrix> chosen;
    switch (parameter) {
      case NetworkParameter::Y: chosen = point.Y; break;
      case NetworkParameter::Z: chosen = Inverse(point.Y); break;
      case NetworkParameter::S: chosen = ScatteringFromAdmittance(point.Y, perPort); break;
    }
    if (!chosen) throw std::runtime_error(SingularNetworkMessage(point.FrequencyMHz, parameter));
    data.FrequenciesMHz.push_back(point.FrequencyMHz);
    data.Matrices.push_back(std::move(*chosen));
  }
  return data;
}

std::vector<double> ParseReferenceText(const std::string& text, std::size_t ports) {
  std::vector<double> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    std::string item = text.substr(start, comma - start);
    while (!item.empty() && std::isspace(static_cast<unsigned char>(item.front()))) item.erase(0, 1);
    while (!item.empty() && std::isspace(static_cast<unsigned char>(item.back()))) item.pop_back();
    char* end = nullptr;
    const double value = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != '\0')
      throw std::invalid_argument("Error: Reference impedance: \"" + item + "\" is not a number of ohms");
    values.push_back(value);
    start = comma + 1;
  }
  try {
    ReferencesFor(ports, values);
  } catch (const std::invalid_argument& error) {
    throw std::invalid_argument(std::string("Error: Reference impedance: ") + error.what());
  }
  return values;
}

}  // namespace lumetra::network
