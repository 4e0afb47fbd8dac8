#include "cli/nearfield_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "cli/terminal_ui.h"
#include "fields/near_field.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/project_files.h"
#include "solver/physical_constants.h"

namespace lumetra::cli {

namespace {

// Message boxes break lines with carriage returns, which a terminal would use to
// overwrite the line; here they become line feeds.
class LineFeedUi : public TerminalUi {
 public:
  using TerminalUi::TerminalUi;
  void ShowMessage(std::string_view text) override {
    std::string lines(text);
    for (char& c : lines)
      if (c == '\r') c = '\n';
    TerminalUi::ShowMessage(lines);
  }
};

}  // namespace

int RunNearField(Arguments& args, std::ostream& out) {
  NearFieldGridTexts texts;
  const std::vector<std::string> x = args.TakeOption("--x", 1);
  const std::vector<std::string> y = args.TakeOption("--y", 1);
  const std::vector<std::string> z = args.TakeOption("--z", 1);
  const std::vector<std::string> eps = args.TakeOption("--eps-eff", 1);
  const std::filesystem::path path = args.Take("project path");
  args.ExpectEnd();
  if (!x.empty()) Arguments::SplitRange("--x", x[0], texts.XStart, texts.XStop, texts.XStep);
  if (!y.empty()) Arguments::SplitRange("--y", y[0], texts.YStart, texts.YStop, texts.YStep);
  if (!z.empty()) Arguments::SplitRange("--z", z[0], texts.ZStart, texts.ZStop, texts.ZStep);
  std::optional<double> epsEff;
  if (!eps.empty()) {
    const std::optional<double> relative = ParseRealText(eps[0]);
    if (!relative || *relative < 1.0 || *relative > 1e6)
      throw UsageError("--eps-eff needs a relative permittivity from 1 to 1e6, got \"" + eps[0] +
                       "\"");
    epsEff = *relative * Eps0;
  }

  LineFeedUi ui(out, false);
  try {
    const NearFieldRunResult result = RunNearField(
        path, texts, epsEff, ui, [&](std::string_view caption) { out << caption << '\n'; });
    if (result.Outcome != NearFieldRunOutcome::Completed) return ExitReportedError;
    out << "Near field of " << result.Frequencies << " frequenc"
        << (result.Frequencies == 1 ? "y" : "ies") << ", " << result.Points << " point"
        << (result.Points == 1 ? "" : "s") << " each, written to "
        << ProjectFileWithExtension(path, ".NFE").string() << " and "
        << ProjectFileWithExtension(path, ".NFH").string() << '\n';
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  return ExitOk;
}

}  // namespace lumetra::cli
