#include "studies/study_copy.h"

#include <filesystem>

namespace lumetra {

Project StudyProjectCopy(const Project& project, const PrivateDirectory& directory,
                         std::string_view fallbackName) {
  Project copy = project;
  const std::filesystem::path name = project.ProjectFile.empty()
                                         ? std::filesystem::path(fallbackName)
                                         : std::filesystem::path(project.ProjectFile).filename();
  copy.ProjectFile = (directory.Path() / name).string();
  return copy;
}

ComputationSettings StudySettings(const ComputationSettings& settings) {
  ComputationSettings own = settings;
  own.IncField = false;
  own.FarField = false;
  own.ShowCompTime = false;
  own.CompSound = false;
  return own;
}

RunEnvironment StudyEnvironment(const PrivateDirectory& directory) {
  RunEnvironment environment;
  environment.WorkDirectory = directory.Path();
  environment.StartupDirectory = std::filesystem::current_path();
  return environment;
}

}  // namespace lumetra
