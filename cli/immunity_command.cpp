#include "cli/immunity_command.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <ostream>

#include "cli/frequency_options.h"
#include "cli/offscreen_application.h"
#include "cli/terminal_ui.h"
#include "model/file_io.h"
#include "model/project_commands.h"
#include "plots/immunity_chart.h"
#include "studies/immunity/immunity_outputs.h"
#include "studies/immunity/immunity_run.h"

namespace lumetra::cli {

namespace {

struct ImmunityCliOptions {
  bool Json = false;
  std::optional<double> ThresholdV;
  std::filesystem::path Csv, Svg, Png;
  immunity::ImmunityOptions Run;
};

double ParseNumber(const std::string& text, const char* option) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(value))
    throw UsageError(std::string(option) + " takes a number");
  return value;
}

ImmunityCliOptions ReadImmunityOptions(Arguments& args) {
  ImmunityCliOptions o;
  o.Json = args.TakeFlag("--json");
  if (auto field = args.TakeOption("--field", 1); !field.empty())
    o.Run.FieldVPerM = ParseNumber(field[0], "--field");
  if (auto threshold = args.TakeOption("--threshold", 1); !threshold.empty()) {
    o.ThresholdV = ParseNumber(threshold[0], "--threshold");
    if (!(*o.ThresholdV > 0.0)) throw UsageError("--threshold takes a positive voltage");
  }
  if (auto csv = args.TakeOption("--csv", 1); !csv.empty()) o.Csv = csv[0];
  if (auto svg = args.TakeOption("--svg", 1); !svg.empty()) o.Svg = svg[0];
  if (auto png = args.TakeOption("--png", 1); !png.empty()) o.Png = png[0];
  if (auto step = args.TakeOption("--step", 1); !step.empty()) {
    o.Run.GridStepDeg = ParseNumber(step[0], "--step");
    if (!(o.Run.GridStepDeg >= 0.5 && o.Run.GridStepDeg <= 45.0))
      throw UsageError("--step takes degrees from 0.5 to 45");
  }
  for (auto load = args.TakeOption("--load", 1); !load.empty(); load = args.TakeOption("--load", 1)) {
    const double n = ParseNumber(load[0], "--load");
    if (n != std::floor(n) || std::abs(n) > 1e9) throw UsageError("--load takes a load number");
    o.Run.Loads.push_back(static_cast<int>(n));
  }
  return o;
}

}  // namespace

int RunImmunityCommand(Arguments& args, std::ostream& out) {
  const std::filesystem::path path = args.Take("project path");
  const ImmunityCliOptions options = ReadImmunityOptions(args);
  std::ostream& messages = options.Json ? std::cerr : out;
  TerminalUi ui(messages, true);
  Project project;
  ComputationSettings settings;
  if (!OpenProjectWithSweepOptions(args, path, project, settings, ui)) return ExitUsage;

  if (!(options.Run.FieldVPerM > 0.0)) {
    ui.ShowMessage(immunity::FieldLevelMessage);
    return ExitUsage;
  }
  if (!immunity::ImmunityPorts(project, options.Run.Loads, ui)) return ExitUsage;

  ComputationControl control(ui);
  const immunity::ImmunityResult result =
      immunity::RunImmunity(project, settings, options.Run, control);
  if (!result.Started) return ExitUsage;
  if (result.Aborted) return ExitReportedError;

  const immunity::ImmunityReport report{result, options.Run.FieldVPerM, options.ThresholdV};
  try {
    if (!options.Csv.empty()) WriteTextFile(options.Csv, immunity::ImmunityCsv(report));
    if (!options.Svg.empty() || !options.Png.empty()) {
      const std::unique_ptr<QGuiApplication> application = OffscreenApplication();
      if (!options.Svg.empty())
        immunity::WriteImmunityChartSvg(options.Svg.string(), result, options.Run.FieldVPerM,
                                        options.ThresholdV);
      if (!options.Png.empty())
        immunity::WriteImmunityChartPng(options.Png.string(), result, options.Run.FieldVPerM,
                                        options.ThresholdV);
    }
  } catch (const std::exception& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  out << (options.Json ? immunity::ImmunityJson(report) : immunity::ImmunityTable(report));
  return immunity::ThresholdExceeded(report) ? ExitThresholdExceeded : ExitOk;
}

}  // namespace lumetra::cli
