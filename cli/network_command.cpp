#include "cli/network_command.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <ostream>

#include "cli/environment_options.h"
#include "cli/frequency_options.h"
#include "cli/terminal_ui.h"
#include "model/file_io.h"
#include "model/project_commands.h"
#include "studies/network/network_file.h"
#include "studies/network/network_run.h"
#include "studies/network/touchstone.h"

namespace lumetra::cli {

namespace {

using network::Cplx;
using network::NetworkParameter;
using network::PairFormat;
using network::PortMatrix;

struct NetworkOptions {
  bool Json = false;
  std::vector<double> ReferenceOhms{50.0};
  PairFormat Format = PairFormat::MA;
  NetworkParameter Parameter = NetworkParameter::S;
  std::filesystem::path Touchstone;
};

std::vector<double> ParseReferences(const std::string& text) {
  std::vector<double> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    char* end = nullptr;
    const double value = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != '\0' || !(value > 0.0) || !std::isfinite(value))
      throw UsageError("--z0 takes positive ohms, one value or one per port separated by commas");
    values.push_back(value);
    start = comma + 1;
  }
  return values;
}

NetworkOptions ReadNetworkOptions(Arguments& args) {
  NetworkOptions o;
  o.Json = args.TakeFlag("--json");
  if (auto z0 = args.TakeOption("--z0", 1); !z0.empty()) o.ReferenceOhms = ParseReferences(z0[0]);
  if (auto format = args.TakeOption("--format", 1); !format.empty()) {
    if (format[0] == "ma") o.Format = PairFormat::MA;
    else if (format[0] == "db") o.Format = PairFormat::DB;
    else if (format[0] == "ri") o.Format = PairFormat::RI;
    else throw UsageError("--format takes ma, db or ri");
  }
  if (auto parameter = args.TakeOption("--param", 1); !parameter.empty()) {
    if (parameter[0] == "s") o.Parameter = NetworkParameter::S;
    else if (parameter[0] == "z") o.Parameter = NetworkParameter::Z;
    else if (parameter[0] == "y") o.Parameter = NetworkParameter::Y;
    else throw UsageError("--param takes s, z or y");
  }
  const std::vector<std::string> file = args.TakeOption("--touchstone", 1);
  if (file.empty()) throw UsageError("network needs --touchstone OUT.sNp");
  o.Touchstone = file[0];
  if (!network::PortCountFromName(o.Touchstone))
    throw UsageError("the Touchstone file must be named .sNp, N the number of ports");
  return o;
}

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

void PrintMatrix(const char* name, const std::optional<PortMatrix>& m, std::ostream& out) {
  out << ", \"" << name << "\": ";
  if (!m) {
    out << "null";
    return;
  }
  out << '[';
  for (std::size_t i = 0; i < m->Ports(); ++i) {
    out << (i ? ", [" : "[");
    for (std::size_t j = 0; j < m->Ports(); ++j)
      out << (j ? ", [" : "[") << Number((*m)(i, j).real()) << ", " << Number((*m)(i, j).imag())
          << ']';
    out << ']';
  }
  out << ']';
}

struct Solved {
  double FrequencyMHz;
  PortMatrix Y;
  std::optional<PortMatrix> Z, S;
};

void PrintJson(const network::NetworkResult& result, const std::vector<Solved>& points,
               const std::vector<double>& references, const std::filesystem::path& file,
               std::ostream& out) {
  out << "{\n  \"unknowns\": " << result.Unknowns << ",\n  \"touchstone\": \"" << file.string()
      << "\",\n  \"reference_ohms\": [";
  for (std::size_t i = 0; i < references.size(); ++i) out << (i ? ", " : "") << Number(references[i]);
  out << "],\n  \"ports\": [";
  for (std::size_t k = 0; k < result.Ports.size(); ++k) {
    const network::NetworkPort& p = result.Ports[k];
    out << (k ? ", " : "") << "{\"number\": " << p.Number << ", \"element\": \""
        << (p.IsJx ? "jx" : "jy") << "\", \"element_no\": " << p.ElementNo
        << ", \"x_mm\": " << Number(p.X) << ", \"y_mm\": " << Number(p.Y) << "}";
  }
  out << "],\n  \"points\": [";
  for (std::size_t k = 0; k < points.size(); ++k) {
    out << (k ? "," : "") << "\n    {\"frequency_mhz\": " << Number(points[k].FrequencyMHz);
    PrintMatrix("y", points[k].Y, out);
    PrintMatrix("z", points[k].Z, out);
    PrintMatrix("s", points[k].S, out);
    out << '}';
  }
  out << "\n  ]\n}\n";
}

// |Sij| in dB of every pair, one line per frequency.
void PrintTable(const network::NetworkResult& result, const std::vector<Solved>& points,
                const std::filesystem::path& file, std::ostream& out) {
  const std::size_t n = result.Ports.size();
  out << n << " ports, " << result.Unknowns << " unknowns; |S| in dB\n";
  char cell[32];
  out << "     f [MHz]";
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) {
      std::snprintf(cell, sizeof cell, " %9s", ("S" + std::to_string(i + 1) + std::to_string(j + 1)).c_str());
      out << cell;
    }
  out << '\n';
  for (const Solved& p : points) {
    std::snprintf(cell, sizeof cell, "%12.6g", p.FrequencyMHz);
    out << cell;
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) {
        const double magnitude = p.S ? std::abs((*p.S)(i, j)) : 0.0;
        std::snprintf(cell, sizeof cell, " %9.3f", magnitude > 0 ? 20 * std::log10(magnitude) : -999.0);
        out << cell;
      }
    out << '\n';
  }
  out << "written: " << file.string() << '\n';
}

}  // namespace

int RunNetworkCommand(Arguments& args, std::ostream& out) {
  const std::filesystem::path path = args.Take("project path");
  const NetworkOptions options = ReadNetworkOptions(args);
  std::ostream& messages = options.Json ? std::cerr : out;
  TerminalUi ui(messages, true);
  Project project;
  ComputationSettings settings;
  if (!OpenProjectWithSweepOptions(args, path, project, settings, ui)) return ExitUsage;

  const std::optional<std::vector<network::NetworkPort>> ports = network::ProjectPorts(project, ui);
  if (!ports) return ExitUsage;
  const std::size_t n = ports->size();
  if (*network::PortCountFromName(options.Touchstone) != n) {
    ui.ShowMessage(network::TouchstoneNameMessage(n));
    return ExitUsage;
  }
  std::vector<double> references;
  try {
    references = network::ReferencesFor(n, options.ReferenceOhms);
  } catch (const std::invalid_argument& error) {
    ui.ShowMessage(std::string("Error: --z0: ") + error.what());
    return ExitUsage;
  }

  ComputationControl control(ui);
  const network::NetworkResult result = network::RunNetwork(project, settings, control);
  if (!result.Started) return ExitUsage;
  if (result.Aborted) return ExitReportedError;

  std::vector<Solved> points;
  network::TouchstoneData data;
  try {
    data = network::NetworkTouchstone(result, project.ProjectFile, options.Parameter, options.Format,
                                      options.ReferenceOhms);
  } catch (const std::runtime_error& singular) {
    ui.ShowMessage(singular.what());
    return ExitReportedError;
  }
  for (const network::NetworkPoint& point : result.Points)
    points.push_back({point.FrequencyMHz, point.Y, network::Inverse(point.Y),
                      network::ScatteringFromAdmittance(point.Y, references)});
  try {
    network::WriteTouchstone(options.Touchstone, data);
  } catch (const std::exception& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  if (options.Json) PrintJson(result, points, references, options.Touchstone, out);
  else PrintTable(result, points, options.Touchstone, out);
  return ExitOk;
}

}  // namespace lumetra::cli
