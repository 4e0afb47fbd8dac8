#include "cli/frequency_options.h"

#include "cli/environment_options.h"
#include "model/file_io.h"
#include "model/project_commands.h"
#include "model/text_reader.h"

namespace lumetra::cli {

namespace {

std::vector<std::string> ReadFrequencyList(const std::string& path) {
  const std::string content = ReadTextFile(path, 1 << 20);
  TextReader in(content, path);
  std::vector<std::string> lines;
  while (std::optional<std::string> line = in.ReadLine()) lines.push_back(*line);
  return lines;
}

}  // namespace

void ReadFrequencyOptions(Arguments& args, ComputationSettings& s) {
  s.Exchange = SharedSweepExchange;
  if (auto f = args.TakeOption("--freq", 1); !f.empty()) s.Frequency = f[0];
  if (auto sweep = args.TakeOption("--sweep", 3); !sweep.empty()) {
    s.SweepFreq = true;
    s.StartFreq = sweep[0];
    s.StopFreq = sweep[1];
    s.StepFreq = sweep[2];
  }
  s.LogSweep = args.TakeFlag("--log");
  if (auto list = args.TakeOption("--freq-list", 1); !list.empty()) {
    s.SweepFreq = true;
    s.FreqListCB = true;
    s.FrequencyList = ReadFrequencyList(list[0]);
  }
  ReadJobsOption(args, s);
}

void ReadJobsOption(Arguments& args, ComputationSettings& s) {
  s.Exchange = SharedSweepExchange;
  if (auto jobs = args.TakeOption("--jobs", 1); !jobs.empty()) {
    const std::string& text = jobs[0];
    const bool digits = !text.empty() && text.size() <= 4 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    s.Jobs = digits ? std::stoi(text) : 0;
    if (s.Jobs < 1) throw UsageError("--jobs takes a whole number of at least 1, got \"" + text + "\"");
  }
}

bool OpenProjectWithSweepOptions(Arguments& args, const std::filesystem::path& path,
                                 Project& project, ComputationSettings& settings,
                                 UserInterface& ui) {
  if (!OpenProject(project, path, ui)) return false;
  settings.ShowCompTime = false;
  settings.CompSound = false;
  try {
    ReadFrequencyOptions(args, settings);
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return false;
  }
  ReadEnvironmentOptions(args, project, settings);
  if (!SubstrateSettingsFromArguments(args, settings, ui)) return false;
  args.ExpectEnd();
  return true;
}

}  // namespace lumetra::cli
