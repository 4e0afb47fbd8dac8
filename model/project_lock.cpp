#include "model/project_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/file_io.h"
#include "model/project_files.h"

namespace lumetra {

namespace {

// Attempts at a lock file that its holder removed between our open and our lock.
constexpr int MaxAttempts = 64;

}  // namespace

std::string ProjectBusyMessage(const std::filesystem::path& projectFile) {
  return "Error: Project \"" + projectFile.string() +
         "\" is being computed by another run; try again when it has finished.";
}

std::filesystem::path ProjectLockFile(const std::filesystem::path& projectFile) {
  return ProjectFileWithExtension(projectFile, ".LCK");
}

std::optional<ProjectLock> ProjectLock::TryTake(const std::filesystem::path& projectFile) {
  const std::filesystem::path file = ProjectLockFile(projectFile);
  for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) throw FileError(CannotOpenMessage(file, errno));
    int result = 0;
    do result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) return std::nullopt;
      throw FileError("Cannot lock file \"" + file.string() + "\". " + std::strerror(error));
    }
    // The holder before us removes the file as it lets go; when it did so after we
    // opened it, our lock is on a file nobody else will find: start again.
    struct stat locked {}, named {};
    if (::fstat(fd, &locked) == 0 && ::stat(file.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
      return ProjectLock(fd, file);
    ::close(fd);
  }
  throw FileError("Cannot lock file \"" + file.string() + "\". It keeps being replaced.");
}

ProjectLock::ProjectLock(ProjectLock&& other) noexcept
    : fd_(other.fd_), file_(std::move(other.file_)) {
  other.fd_ = -1;
}

ProjectLock& ProjectLock::operator=(ProjectLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    file_ = std::move(other.file_);
    other.fd_ = -1;
  }
  return *this;
}

ProjectLock::~ProjectLock() { Release(); }

void ProjectLock::Release() noexcept {
  if (fd_ < 0) return;
  // Removed while still locked, so that a run waiting on this very file finds it
  // gone and takes a fresh one instead of locking an orphan.
  ::unlink(file_.c_str());
  ::close(fd_);
  fd_ = -1;
}

}  // namespace lumetra
