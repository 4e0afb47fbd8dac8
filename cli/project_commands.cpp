#include "cli/project_commands.h"

#include <ostream>

#include "cli/terminal_ui.h"
#include "model/connections.h"
#include "model/file_io.h"
#include "model/input_checks.h"
#include "model/project_commands.h"
#include "model/project_files.h"
#include "model/project_summary.h"

namespace lumetra::cli {

namespace {

// Opens the project named by the only remaining argument; prints the error on failure.
bool OpenFromArguments(Arguments& args, Project& project, TerminalUi& ui) {
  const std::filesystem::path path = args.Take("project path");
  args.ExpectEnd();
  return OpenProject(project, path, ui);
}

}  // namespace

int RunNew(Arguments& args, std::ostream& out) {
  const bool force = args.TakeFlag("--force");
  const std::vector<std::string> board = args.TakeOption("--board", 2);
  const std::filesystem::path path = args.Take("project path");
  args.ExpectEnd();
  if (board.empty()) throw UsageError("new needs --board LX LY");

  TerminalUi ui(out, force);
  std::int32_t lx = 0, ly = 0;
  const bool lxOk = CheckInteger(board[0], "Lx", 0, 10000, ui, &lx);
  const bool lyOk = CheckInteger(board[1], "Ly", 0, 10000, ui, &ly);
  if (!lxOk || !lyOk) return ExitReportedError;

  Project project;
  const std::filesystem::path directory = path.has_parent_path() ? path.parent_path() : ".";
  if (!NewProject(project, directory, path.stem().string(), lx, ly, ui)) return ExitReportedError;
  if (!SaveProject(project, ui)) return ExitReportedError;
  out << "Created " << project.ProjectFile << '\n';
  return ExitOk;
}

int RunSave(Arguments& args, std::ostream& out) {
  TerminalUi ui(out, false);
  Project project;
  if (!OpenFromArguments(args, project, ui)) return ExitReportedError;
  if (!SaveProject(project, ui)) return ExitReportedError;
  out << "Saved " << project.ProjectFile << '\n';
  return ExitOk;
}

int RunConnect(Arguments& args, std::ostream& out) {
  TerminalUi ui(out, false);
  Project project;
  if (!OpenFromArguments(args, project, ui)) return ExitReportedError;
  try {
    if (!RunConnectionStep(project, ui)) {
      out << CannotConnectText << '\n' << CheckChargesText << '\n';
      return ExitReportedError;
    }
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  const ConnectingElements elements = FindConnectingElements(project.Segments);
  out << ConnectedCaption << '\n'
      << elements.Jx.size() << " connecting Jx element(s), " << elements.Jy.size()
      << " connecting Jy element(s)\n";
  return ExitOk;
}

int RunInfo(Arguments& args, std::ostream& out) {
  TerminalUi ui(out, false);
  const std::filesystem::path path = args.Take("project path");
  args.ExpectEnd();
  try {
    const ProjectSummary summary = ReadProjectSummary(path);
    out << summary.Title << '\n';
    for (const std::string& label : summary.Labels) out << label << '\n';
    out << "Notes:\n";
    if (const std::optional<std::string> note = ReadProjectNote(path)) out << *note << '\n';
  } catch (const FileError& error) {
    ui.ShowMessage(error.what());
    return ExitReportedError;
  }
  return ExitOk;
}

}  // namespace lumetra::cli
