#include "cli/compute_command.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <ostream>
#include <system_error>

#include "cli/environment_options.h"
#include "cli/frequency_options.h"
#include "cli/terminal_ui.h"
#include "model/file_io.h"
#include "model/private_directory.h"
#include "model/project_commands.h"
#include "model/text_reader.h"
#include "studies/computation_driver.h"
#include "studies/point_exchange.h"
#include "solver/solver_settings.h"

namespace lumetra::cli {

namespace {


// The page's settings from the options; the environment overrides go into the
// project, where the Computation page keeps them too.
ComputationSettings SettingsFromArguments(Arguments& args, Project& project) {
  ComputationSettings s;
  s.ShowCompTime = false;
  s.CompSound = false;
  ReadFrequencyOptions(args, s);
  if (auto wave = args.TakeOption("--incident", 3); !wave.empty()) {
    s.IncField = true;
    s.IncTheta = wave[0];
    s.IncPhi = wave[1];
    s.IncPol = wave[2];
  }
  ReadEnvironmentOptions(args, project, s);
  s.FarField = args.TakeFlag("--far-field");
  if (auto theta = args.TakeOption("--theta", 1); !theta.empty()) {
    Arguments::SplitRange("--theta", theta[0], s.ThetaStart, s.ThetaStop, s.ThetaStep);
  }
  if (auto phi = args.TakeOption("--phi", 1); !phi.empty()) {
    Arguments::SplitRange("--phi", phi[0], s.PhiStart, s.PhiStop, s.PhiStep);
  }
  return s;
}

std::string Number(double value) {
  if (!std::isfinite(value)) return "null";
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

std::string Pair(const Complex& z) {
  std::string text(1, '[');
  text += Number(z.Re);
  text += ", ";
  text += Number(z.Im);
  text += ']';
  return text;
}

std::optional<Complex> Impedance(const SourceReading& source) {
  if (!source.Current || (source.Current->Re == 0.0 && source.Current->Im == 0.0)) return {};
  return CDiv(source.Voltage, *source.Current);
}

void PrintJson(const ComputationReport& report, std::ostream& out) {
  out << "{\n  \"unknowns\": " << report.Unknowns << ",\n  \"points\": [";
  for (std::size_t p = 0; p < report.Points.size(); ++p) {
    const FrequencyPointResult& point = report.Points[p];
    out << (p ? "," : "") << "\n    {\"frequency_mhz\": " << Number(point.FrequencyMHz)
        << ", \"fill_s\": " << Number(point.FillSeconds) << ", \"solve_s\": "
        << Number(point.SolveSeconds) << ", \"input_power_w\": " << Number(point.InputPower);
    // The real-axis points of a slab's spectral integrals (High accuracy chooses them).
    if (point.SpectralPoints > 0) out << ", \"spectral_points\": " << point.SpectralPoints;
    out << ", \"sources\": [";
    for (std::size_t k = 0; k < point.Sources.size(); ++k) {
      const SourceReading& source = point.Sources[k];
      const std::optional<Complex> z = Impedance(source);
      out << (k ? ", " : "") << "{\"number\": " << source.Number
          << ", \"voltage\": " << Pair(source.Voltage)
          << ", \"current\": " << (source.Current ? Pair(*source.Current) : "null")
          << ", \"impedance\": " << (z ? Pair(*z) : "null") << "}";
    }
    out << "]}";
  }
  out << "\n  ]\n}\n";
}

void PrintTable(const ComputationReport& report, std::ostream& out) {
  out << report.Unknowns << " unknowns\n";
  char line[256];
  std::snprintf(line, sizeof line, "%12s %9s %9s %13s %6s %25s %25s\n", "f [MHz]", "fill [s]",
                "solve [s]", "power [W]", "source", "current [A]", "impedance [ohm]");
  out << line;
  for (const FrequencyPointResult& point : report.Points) {
    char columns[128];
    std::snprintf(columns, sizeof columns, "%12.6g %9.3f %9.3f %13.6g", point.FrequencyMHz,
                  point.FillSeconds, point.SolveSeconds, point.InputPower);
    const std::string blank(std::char_traits<char>::length(columns), ' ');
    if (point.Sources.empty()) out << columns << '\n';
    for (std::size_t k = 0; k < point.Sources.size(); ++k) {
      const SourceReading& source = point.Sources[k];
      const std::optional<Complex> z = Impedance(source);
      char current[64] = "-", impedance[64] = "-";
      if (source.Current)
        std::snprintf(current, sizeof current, "%11.4e %+11.4ej", source.Current->Re,
                      source.Current->Im);
      if (z) std::snprintf(impedance, sizeof impedance, "%11.4f %+11.4fj", z->Re, z->Im);
      std::snprintf(line, sizeof line, " %6d %25s %25s\n", source.Number, current, impedance);
      out << (k == 0 ? std::string(columns) : blank) << line;
    }
  }
}

// The options after the project path, into the settings and the project. False
// when a value was refused or the frequency list could not be read (the message is
// shown); the words after it are then not looked at. A malformed option throws.
bool ReadOptions(Arguments& args, Project& project, ComputationSettings& settings, bool& json,
                 UserInterface& ui) {
  json = args.TakeFlag("--json");
  try {
    settings = SettingsFromArguments(args, project);
    if (!SubstrateSettingsFromArguments(args, settings, ui)) return false;
  } catch (const FileError& error) {  // the frequency list file
    ui.ShowMessage(error.what());
    return false;
  }
  args.ExpectEnd();
  return true;
}

}  // namespace

void CheckComputeArguments(Arguments args) {
  args.Take("project path");
  // Only the form of the options counts here: their effect on a project, and the
  // messages about refused values, belong to the run.
  Project scratch;
  std::ostream nowhere(nullptr);
  TerminalUi quiet(nowhere, false);
  ComputationSettings settings;
  bool json = false;
  ReadOptions(args, scratch, settings, json, quiet);
}

int RunCompute(Arguments& args, std::ostream& out) {
  const std::filesystem::path path = args.Take("project path");
  TerminalUi ui(out, false);
  Project project;
  if (!OpenProject(project, path, ui)) return ExitReportedError;
  ComputationSettings settings;
  bool json = false;
  if (!ReadOptions(args, project, settings, json, ui)) return ExitReportedError;

  // Messages go to stderr with --json, so that stdout is one JSON document.
  std::ostream& messages = json ? std::cerr : out;
  TerminalUi runUi(messages, true);
  ComputationControl control(runUi);
  // A process that only solves points of a shared sweep computes on a private copy
  // of its own (RunComputation), so it needs no work folder here.
  std::optional<PrivateDirectory> work;
  if (!settings.Exchange || settings.Exchange->Commits()) work.emplace();
  RunEnvironment environment;
  if (work) environment.WorkDirectory = work->Path();
  environment.StartupDirectory = std::filesystem::current_path();
  const ComputationReport report = RunComputation(project, settings, environment, control);
  if (!report.Started || report.Aborted) return ExitReportedError;
  if (json) PrintJson(report, out);
  else PrintTable(report, out);
  return ExitOk;
}

}  // namespace lumetra::cli
