#include "cli/farfield_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "cli/terminal_ui.h"
#include "fields/far_field_recompute.h"
#include "model/file_io.h"
#include "model/project_files.h"

namespace lumetra::cli {

namespace {

// "A:B:S" into its three texts; the numbers themselves are checked by the core,
// with the dialog's messages.
void SplitRange(const std::string& option, const std::string& value, std::string& start,
                std::string& stop, std::string& step) {
  std::vector<std::string> parts(1);
  for (char c : value) {
    if (c == ':')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() != 3) throw UsageError(option + " needs START:STOP:STEP, got \"" + value + "\"");
  start = parts[0];
  stop = parts[1];
  step = parts[2];
}

}  // namespace

int RunFarField(Arguments& args, std::ostream& out) {
  FarFieldAngleTexts texts;
  const std::vector<std::string> theta = args.TakeOption("--theta", 1);
  const std::vector<std::string> phi = args.TakeOption("--phi", 1);
  const std::filesystem::path path = args.Take("project path");
  args.ExpectEnd();
  if (!theta.empty())
    SplitRange("--theta", theta[0], texts.ThetaStart, texts.ThetaStop, texts.ThetaStep);
  if (!phi.empty()) SplitRange("--phi", phi[0], texts.PhiStart, texts.PhiStop, texts.PhiStep);

  TerminalUi ui(out, false);
  try {
    const FarFieldRunResult result = RecomputeFarField(
        path, texts, ui, [&](std::string_view caption) { out << caption << '\n'; });
    if (result.Outcome != FarFieldRunOutcome::Completed) return ExitReportedError;
    out << "Far field of " << result.Frequencies << " frequenc"
        << (result.Frequencies == 1 ? "y" : "ies") << " written to "
        << ProjectFileWithExtension(path, ".RAD").string() << '\n';
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  return ExitOk;
}

}  // namespace lumetra::cli
