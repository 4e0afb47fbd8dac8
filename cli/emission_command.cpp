#include "cli/emission_command.h"

#include <iostream>
#include <ostream>
#include <stdexcept>

#include "cli/emission_graphics.h"
#include "cli/environment_options.h"
#include "cli/frequency_options.h"
#include "cli/terminal_ui.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/project_commands.h"
#include "studies/emission/emission_outputs.h"
#include "studies/emission/named_limits.h"

namespace lumetra::cli {

namespace {

using namespace lumetra::emission;

std::vector<std::string> SplitColons(const std::string& text, std::size_t maxParts) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() + 1 < maxParts) {
    const std::size_t colon = text.find(':', start);
    if (colon == std::string::npos) break;
    parts.push_back(text.substr(start, colon - start));
    start = colon + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

double Number(const std::string& text, const std::string& option, const char* what) {
  const std::optional<double> value = ParseRealText(text);
  if (!value) throw std::invalid_argument("Error: " + option + ": " + what + " \"" + text +
                                          "\" is not a number");
  return *value;
}

// The 1-based number of a voltage source of the project.
std::size_t SourceIndex(const std::string& text, const std::string& option,
                        const Project& project) {
  const std::optional<std::int32_t> number = ParseIntegerText(text);
  if (!number || *number < 1 || static_cast<std::size_t>(*number) > project.VoltageSources.size())
    throw std::invalid_argument("Error: " + option + ": the project has no voltage source \"" +
                                text + "\" (it has " +
                                std::to_string(project.VoltageSources.size()) + ")");
  return static_cast<std::size_t>(*number - 1);
}

// --clock SOURCE:FREQ_MHZ:AMPLITUDE_V:RISE_NS[:FALL_NS[:DUTY]]
TrapezoidWaveform ClockOf(const std::vector<std::string>& parts, const std::string& option) {
  if (parts.size() < 4 || parts.size() > 6)
    throw std::invalid_argument("Error: " + option +
                                " takes SOURCE:FREQ_MHZ:AMPLITUDE_V:RISE_NS[:FALL_NS[:DUTY]]");
  TrapezoidWaveform wave;
  wave.FundamentalMHz = Number(parts[1], option, "the frequency");
  wave.AmplitudeV = Number(parts[2], option, "the amplitude");
  wave.RiseNs = Number(parts[3], option, "the rise time");
  if (parts.size() > 4) wave.FallNs = Number(parts[4], option, "the fall time");
  if (parts.size() > 5) wave.Duty = Number(parts[5], option, "the duty cycle");
  ValidateTrapezoid(wave);
  return wave;
}

// Every source keeps its project voltage unless a --clock or a --spectrum names it.
std::vector<SourceSignal> SignalsFromArguments(Arguments& args, const Project& project) {
  std::vector<SourceSignal> signals;
  for (const VoltageSource& source : project.VoltageSources)
    signals.emplace_back(ConstantDriveOf(source));
  std::vector<bool> given(signals.size(), false);
  const auto claim = [&](std::size_t index, const std::string& option) {
    if (given[index])
      throw std::invalid_argument("Error: " + option + ": voltage source " +
                                  std::to_string(index + 1) + " has a signal already");
    given[index] = true;
  };
  for (auto clock = args.TakeOption("--clock", 1); !clock.empty();
       clock = args.TakeOption("--clock", 1)) {
    const std::string option = "--clock " + clock[0];
    const std::vector<std::string> parts = SplitColons(clock[0], 6);
    const std::size_t index = SourceIndex(parts[0], option, project);
    claim(index, option);
    signals[index] = ClockOf(parts, option);
  }
  for (auto spectrum = args.TakeOption("--spectrum", 1); !spectrum.empty();
       spectrum = args.TakeOption("--spectrum", 1)) {
    const std::string option = "--spectrum " + spectrum[0];
    const std::vector<std::string> parts = SplitColons(spectrum[0], 2);
    if (parts.size() != 2 || parts[1].empty())
      throw std::invalid_argument("Error: " + option + " takes SOURCE:FILE");
    const std::size_t index = SourceIndex(parts[0], option, project);
    claim(index, option);
    signals[index] = DriveLineList{ReadDriveLinesFile(parts[1])};
  }
  return signals;
}

SiteKind SiteOf(const std::string& name) {
  if (name == "free") return SiteKind::Free;
  if (name == "sac") return SiteKind::SemiAnechoic;
  throw std::invalid_argument("Error: --site \"" + name + "\": use free or sac");
}

std::optional<std::filesystem::path> PathOption(Arguments& args, const char* flag) {
  const std::vector<std::string> value = args.TakeOption(flag, 1);
  if (value.empty()) return std::nullopt;
  return std::filesystem::path(value[0]);
}

struct EmissionCommand {
  EmissionRequest Request;
  std::optional<std::filesystem::path> Csv;
  EmissionPictures Pictures;
  bool Json = false;
};

// The whole command line into a request, every value checked before anything is
// computed. Throws UsageError for a malformed line, std::invalid_argument or
// FileError for bad input.
EmissionCommand ReadEmissionCommand(Arguments& args, Project& project, UserInterface& ui,
                                    bool& refused) {
  EmissionCommand command;
  EmissionRequest& request = command.Request;
  command.Json = args.TakeFlag("--json");
  command.Csv = PathOption(args, "--csv");
  command.Pictures.Svg = PathOption(args, "--svg");
  command.Pictures.Png = PathOption(args, "--png");
  command.Pictures.Report = PathOption(args, "--report");
  if (auto stop = args.TakeOption("--stop", 1); !stop.empty())
    request.StopMHz = Number(stop[0], "--stop", "the stop frequency");
  if (auto distance = args.TakeOption("--distance", 1); !distance.empty())
    request.Site.DistanceM = Number(distance[0], "--distance", "the distance");
  request.Site.Kind = SiteKind::SemiAnechoic;
  if (auto site = args.TakeOption("--site", 1); !site.empty()) request.Site.Kind = SiteOf(site[0]);
  const std::vector<std::string> limit = args.TakeOption("--limit", 1);
  request.Signals = SignalsFromArguments(args, project);
  ReadEnvironmentOptions(args, project, request.Solver);
  ReadJobsOption(args, request.Solver);
  refused = !SubstrateSettingsFromArguments(args, request.Solver, ui);
  if (refused) return command;
  args.ExpectEnd();

  ValidateStopFrequency(request.StopMHz);
  ValidateSiteSettings(request.Site);
  if (!limit.empty()) {
    ResolvedLimit resolved = ResolveLimit(limit[0], request.Site.DistanceM, request.StopMHz);
    request.Limit = std::move(resolved.Limit);
    request.LimitNote = std::move(resolved.Note);
  }
  ValidateEmissionRequest(project, request);
  return command;
}

void WriteOutputFile(const std::filesystem::path& path, const std::string& content) {
  FileWriter writer(path);
  writer.Write(content);
  writer.Commit();
}

}  // namespace

int RunEmissionCommand(Arguments& args, std::ostream& out) {
  const std::filesystem::path path = args.Take("project path");
  TerminalUi ui(out, false);
  Project project;
  if (!OpenProject(project, path, ui)) return ExitReportedError;

  EmissionCommand command;
  try {
    bool refused = false;
    command = ReadEmissionCommand(args, project, ui, refused);
    if (refused) return ExitUsage;
  } catch (const std::invalid_argument& error) {
    std::cerr << error.what() << "\n";
    return ExitUsage;
  } catch (const FileError& error) {
    std::cerr << error.what() << "\n";
    return ExitUsage;
  }

  // Messages go to stderr with --json, so that stdout is one JSON document.
  std::ostream& messages = command.Json ? std::cerr : out;
  TerminalUi runUi(messages, true);
  ComputationControl control(runUi);
  EmissionResult result;
  try {
    result = RunEmission(project, command.Request, control);
  } catch (const FileError& error) {
    messages << error.what() << "\n";
    return ExitReportedError;
  }
  if (result.Aborted) {
    messages << EmissionTable(result);
    return ExitReportedError;
  }
  try {
    if (command.Csv) WriteOutputFile(*command.Csv, EmissionCsv(result));
    if (command.Pictures.Any())
      WriteEmissionPictures(command.Pictures, project, command.Request, result);
  } catch (const FileError& error) {
    messages << error.what() << "\n";
    return ExitReportedError;
  }
  out << (command.Json ? EmissionJson(result) : EmissionTable(result));
  return result.Passed() ? ExitOk : ExitLimitFailed;
}

}  // namespace lumetra::cli
