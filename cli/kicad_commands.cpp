#include "cli/kicad_commands.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/environment_options.h"
#include "cli/terminal_ui.h"
#include "import/kicad_board.h"
#include "import/kicad_import.h"
#include "import/kicad_import_report.h"
#include "import/kicad_net_list.h"
#include "model/connections.h"
#include "model/file_io.h"
#include "model/project_files.h"

namespace lumetra::cli {

namespace {

using Json = nlohmann::ordered_json;

double NumberOption(const std::string& option, const std::string& text) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value))
    throw UsageError(option + " needs a number, got \"" + text + "\"");
  return value;
}

std::optional<double> OptionalNumber(Arguments& args, const std::string& option) {
  const std::vector<std::string> value = args.TakeOption(option, 1);
  if (value.empty()) return std::nullopt;
  return NumberOption(option, value[0]);
}

// Every value of an option that may be repeated, in the order given.
std::vector<std::string> RepeatedOption(Arguments& args, const std::string& option) {
  std::vector<std::string> values;
  for (std::vector<std::string> value = args.TakeOption(option, 1); !value.empty();
       value = args.TakeOption(option, 1))
    values.push_back(value[0]);
  return values;
}

// Bad input: the message on stderr, exit 2, nothing written.
int Refuse(const char* command, const std::string& message) {
  std::cerr << "lumetra-cli " << command << ": " << message << '\n';
  return ExitUsage;
}

Json ReportJson(const KicadImportReport& report, const std::string& projectFile) {
  Json nets = Json::array();
  for (const NetImport& net : report.nets)
    nets.push_back({{"name", net.name},
                    {"tracks", net.tracks},
                    {"arcs", net.arcs},
                    {"pads", net.pads},
                    {"vias", net.vias},
                    {"kicad_length_mm", net.kicadLengthMm},
                    {"layout_length_mm", net.layoutLengthMm},
                    {"segments", net.segments},
                    {"pieces", net.pieces}});
  return {{"board", report.boardFile},
          {"layer", report.layer},
          {"project", projectFile},
          {"grid_mm", report.gridMm},
          {"max_cell_mm", report.maxCellMm},
          {"cells_across", report.cellsAcross},
          {"environment", report.environment},
          {"segments", report.segments},
          {"charges", report.charges},
          {"jx", report.jx},
          {"jy", report.jy},
          {"ground_points", report.groundPoints},
          {"unknowns", report.unknowns},
          {"nets", nets},
          {"warnings", report.warnings}};
}

}  // namespace

int RunKicadNets(Arguments& args, std::ostream& out) {
  const bool json = args.TakeFlag("--json");
  const std::vector<std::string> layer = args.TakeOption("--layer", 1);
  const std::string boardPath = args.Take("board file");
  args.ExpectEnd();
  KicadBoard board;
  try {
    board = ReadKicadBoard(boardPath);
  } catch (const FileError& error) {
    return Refuse("kicad-nets", error.what());
  }
  const std::optional<std::string> only =
      layer.empty() ? std::nullopt : std::optional<std::string>(layer[0]);
  const std::vector<KicadNetSummary> nets = SummariseNets(board, only);
  if (only && nets.empty()) {
    bool known = false;
    for (const KicadLayer& l : board.layers) known |= l.name == *only && l.name.ends_with(".Cu");
    if (!known) return Refuse("kicad-nets", "layer \"" + *only + "\" is not a copper layer of the board");
  }
  if (json) {
    Json list = Json::array();
    for (const KicadNetSummary& net : nets) {
      Json layers = Json::array();
      for (const KicadNetOnLayer& use : net.layers)
        layers.push_back({{"layer", use.layer}, {"tracks", use.tracks}, {"length_mm", use.lengthMm}});
      list.push_back({{"name", net.name}, {"pads", net.pads},
                      {"length_mm", net.TotalLengthMm()}, {"layers", layers}});
    }
    out << Json{{"board", boardPath}, {"nets", list}}.dump(2) << '\n';
    return ExitOk;
  }
  // One row per net: pads, then tracks and length on each copper layer.
  char line[256];
  std::string header = "Net                              Pads";
  if (!nets.empty())
    for (const KicadNetOnLayer& use : nets.front().layers) {
      std::snprintf(line, sizeof line, " %18s", (use.layer + " tracks/mm").c_str());
      header += line;
    }
  out << header << '\n';
  for (const KicadNetSummary& net : nets) {
    std::snprintf(line, sizeof line, "%-32s %5d", net.name.c_str(), net.pads);
    out << line;
    for (const KicadNetOnLayer& use : net.layers) {
      std::snprintf(line, sizeof line, " %7d %10.2f", use.tracks, use.lengthMm);
      out << line;
    }
    out << '\n';
  }
  return ExitOk;
}

int RunImportKicad(Arguments& args, std::ostream& out) {
  const char* command = "import-kicad";
  const bool json = args.TakeFlag("--json");
  const bool force = args.TakeFlag("--force");
  KicadImportOptions options;
  options.nets = RepeatedOption(args, "--net");
  if (auto layer = args.TakeOption("--layer", 1); !layer.empty()) options.layer = layer[0];
  options.gridMm = OptionalNumber(args, "--grid");
  if (auto across = OptionalNumber(args, "--cells-across")) {
    if (*across != std::floor(*across)) throw UsageError("--cells-across needs a whole number");
    options.cellsAcross = static_cast<int>(std::clamp(*across, -1.0, 1000.0));
  }
  if (auto f = OptionalNumber(args, "--max-freq")) options.maxFrequencyMHz = *f;
  options.groundPlaneMm = OptionalNumber(args, "--ground-plane");
  options.dielectric = OptionalNumber(args, "--diel");
  options.maxUnknownsPerDirection = TakeMaxUnknowns(args);
  const std::vector<std::string> drivers = RepeatedOption(args, "--driver");
  const std::vector<std::string> receivers = RepeatedOption(args, "--receiver");
  const std::vector<std::string> output = args.TakeOption("--out", 1);
  const std::string boardPath = args.Take("board file");
  args.ExpectEnd();
  if (options.nets.empty()) throw UsageError("import-kicad needs --net NAME");
  if (output.empty()) throw UsageError("import-kicad needs --out PATH.PRO");
  if (drivers.size() > 1) throw UsageError("import-kicad takes one --driver");

  std::filesystem::path projectFile = std::filesystem::absolute(output[0]);
  std::string extension = projectFile.extension().string();
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension != ".PRO") return Refuse(command, "the project must be a .PRO file: " + output[0]);
  if (!std::filesystem::is_directory(projectFile.parent_path()))
    return Refuse(command, "no directory " + projectFile.parent_path().string());
  if (std::filesystem::exists(projectFile) && !force)
    return Refuse(command, "project " + projectFile.string() +
                               " already exists (--force overwrites it)");

  KicadImport imported;
  try {
    if (!drivers.empty()) options.driver = ParseDriver(drivers[0]);
    for (const std::string& text : receivers) options.receivers.push_back(ParseReceiver(text));
    const KicadBoard board = ReadKicadBoard(boardPath);
    imported = ImportKicadNets(board, options, boardPath);
  } catch (const FileError& error) {
    return Refuse(command, error.what());
  } catch (const KicadImportError& error) {
    return Refuse(command, error.what());
  }

  // The report goes to stderr with --json, so that stdout is one JSON document.
  std::ostream& messages = json ? std::cerr : out;
  messages << FormatImportReport(imported.report, options.maxFrequencyMHz,
                                 options.cellsPerWavelength);
  Project& project = imported.project;
  project.ProjectFile = projectFile.string();
  TerminalUi ui(messages, false);
  try {
    SaveProjectFiles(project, projectFile);
    if (!RunConnectionStep(project, ui)) {
      messages << CannotConnectText << '\n' << CheckChargesText << '\n';
      return ExitReportedError;
    }
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  messages << ConnectedCaption << "\nSaved " << project.ProjectFile << '\n';
  if (json) out << ReportJson(imported.report, project.ProjectFile).dump(2) << '\n';
  return ExitOk;
}

}  // namespace lumetra::cli
