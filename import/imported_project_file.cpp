#include "import/imported_project_file.h"

#include "model/project_commands.h"

namespace lumetra {

bool SaveImportedProject(Project& project, const std::filesystem::path& path,
                         UserInterface& ui) {
  std::filesystem::path file = std::filesystem::absolute(path);
  file.replace_extension(".PRO");
  // New asks the overwrite question and clears the old project's files; the
  // scratch project only carries the name it settles on.
  Project scratch;
  if (!NewProject(scratch, file.parent_path(), file.stem().string(), project.PcbLx,
                  project.PcbLy, ui))
    return false;
  project.ProjectFile = scratch.ProjectFile;
  project.Connected = false;
  return SaveProject(project, ui);
}

}  // namespace lumetra
