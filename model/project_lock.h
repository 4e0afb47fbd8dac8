// One computation per project at a time.
//
// A computation rewrites files beside the project (the connecting-element files,
// the .PRO's date and time, the result files block by block); two runs on one
// project would interleave their blocks and trip over each other's files. Every
// run that writes them first takes an advisory lock on a file beside the project,
// "<project>.LCK". The lock is the operating system's (flock): it ends with the
// process however the process ends, so a run that was killed leaves no lock
// behind, and a lock file that stayed after a crash does not block anyone.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lumetra {

// "Error: Project "<path>" is being computed by another run; try again when it
// has finished."
std::string ProjectBusyMessage(const std::filesystem::path& projectFile);

// The lock file of a project: its path with the extension ".LCK".
std::filesystem::path ProjectLockFile(const std::filesystem::path& projectFile);

// The lock held; released (and its file removed) when destroyed.
class ProjectLock {
public:
  // Takes the project's lock without waiting: nullopt when another run (another
  // process, or another lock in this one) holds it. Throws FileError when the lock
  // file cannot be created (a directory without write access, where no result
  // file could be written either).
  static std::optional<ProjectLock> TryTake(const std::filesystem::path& projectFile);

  ProjectLock(ProjectLock&& other) noexcept;
  ProjectLock& operator=(ProjectLock&& other) noexcept;
  ProjectLock(const ProjectLock&) = delete;
  ProjectLock& operator=(const ProjectLock&) = delete;
  ~ProjectLock();

private:
  ProjectLock(int fd, std::filesystem::path file) : fd_(fd), file_(std::move(file)) {}
  void Release() noexcept;

  int fd_ = -1;
  std::filesystem::path file_;
};

}  // namespace lumetra
