#include "cli/farfield_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "cli/terminal_ui.h"
#include "fields/far_field_recompute.h"
#include "model/file_io.h"
#include "model/project_files.h"

namespace lumetra::cli {

int RunFarField(Arguments& args, std::ostream& out) {
  FarFieldAngleTexts texts;
  const std::vector<std::string> theta = args.TakeOption("--theta", 1);
  const std::vector<std::string> phi = args.TakeOption("--phi", 1);
  const std::filesystem::path path = args.Take("project path");
  args.ExpectEnd();
  if (!theta.empty())
    Arguments::SplitRange("--theta", theta[0], texts.ThetaStart, texts.ThetaStop, texts.ThetaStep);
  if (!phi.empty()) Arguments::SplitRange("--phi", phi[0], texts.PhiStart, texts.PhiStop, texts.PhiStep);

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
