#include "model/project_commands.h"

#include <system_error>

#include "model/batch_mode.h"
#include "model/file_io.h"
#include "model/project_files.h"

namespace lumetra {

namespace {

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

std::string OverwriteQuestion(const std::string& fileName) {
  return "Project \"" + fileName + "\" already exist.  Overwrite?";
}

// Clears the state text and shows the failure of a command that touched files.
void ReportFileError(const FileError& error, UserInterface& ui) {
  ui.SetStatusText(StatusPanel::State, "");
  ui.ShowMessage(error.what());
}

}  // namespace

const std::vector<std::string>& ProjectFileExtensions() {
  // The near-field results .NFE/.NFH belong to the project as much as the other
  // result files; leaving them would present the old project's near field as the
  // new one's, and the computation settings .STG would carry the old project's
  // frequencies and options over.
  static const std::vector<std::string> extensions = {
      ".PRO", ".SEG", ".CHE", ".JXE", ".JYE", ".JXC", ".JYC", ".XXX", ".YYY",
      ".ZZX", ".ZZY", ".RAD", ".GEN", ".IMP", ".GPC", ".TXT", ".NFE", ".NFH", ".STG"};
  return extensions;
}

bool ConfirmSaveChanges(Project& project, UserInterface& ui) {
  if (project.Saved || BatchMode || !project.IsOpen()) return true;
  switch (ui.AskYesNoCancel(SaveChangesQuestion)) {
    case Answer::Cancel: return false;
    case Answer::No: return true;
    case Answer::Yes: return SaveProject(project, ui);
  }
  return false;
}

bool NewProject(Project& project, const std::filesystem::path& directory,
                const std::string& name, std::int32_t pcbLx, std::int32_t pcbLy,
                UserInterface& ui) {
  const std::filesystem::path path =
      std::filesystem::absolute(directory / (name + ".PRO")).lexically_normal();
  if (Exists(path) && !ui.AskYesNo(OverwriteQuestion(name + ".PRO"))) return false;
  for (const std::string& extension : ProjectFileExtensions())
    RemoveFileIfPresent(ProjectFileWithExtension(path, extension));
  ResetToNewProject(project, path.string(), pcbLx, pcbLy);
  return true;
}

bool OpenProject(Project& project, const std::filesystem::path& path, UserInterface& ui) {
  ui.SetStatusText(StatusPanel::State, "Reading files");
  try {
    Project loaded = LoadProject(path);
    // Options that are not stored in the project files stay as the user set them.
    loaded.ShowGridPoints = project.ShowGridPoints;
    project = std::move(loaded);
  } catch (const FileError& error) {
    ReportFileError(error, ui);
    return false;
  }
  ui.SetStatusText(StatusPanel::State, "");
  return true;
}

bool SaveProject(Project& project, UserInterface& ui) {
  ui.SetStatusText(StatusPanel::State, "Saving files");
  try {
    SaveProjectFiles(project, project.ProjectFile);
  } catch (const FileError& error) {
    project.Saved = false;
    ReportFileError(error, ui);
    return false;
  }
  project.Saved = true;
  ui.SetStatusText(StatusPanel::State, "");
  return true;
}

bool SaveProjectAs(Project& project, const std::filesystem::path& path, UserInterface& ui) {
  std::filesystem::path target = path;
  target.replace_extension(".PRO");
  target = std::filesystem::absolute(target).lexically_normal();
  if (Exists(target) && !ui.AskYesNo(OverwriteQuestion(target.filename().string()))) return false;
  project.ProjectFile = target.string();
  // The connecting elements are not copied; whatever .JXC/.JYC lies under the new
  // name belongs to another layout until the next connection step.
  project.Connected = false;
  return SaveProject(project, ui);
}

}  // namespace lumetra
