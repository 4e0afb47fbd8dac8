#include "model/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {

namespace {

// Closes a POSIX descriptor on every path out of a function.
class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { int fd = fd_; fd_ = -1; return fd; }

private:
  int fd_;
};

std::string Quoted(const std::filesystem::path& path) {
  std::string text = path.string();
  text.insert(text.begin(), '"');
  text.push_back('"');
  return text;
}

}  // namespace

std::string CannotOpenMessage(const std::filesystem::path& path, int errorNumber) {
  return "Cannot open file " + Quoted(path) + ". " + std::strerror(errorNumber);
}

std::string ReadTextFile(const std::filesystem::path& path, std::size_t maxBytes) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw FileError(CannotOpenMessage(path, errno));
  std::string content;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError("Read error in file " + Quoted(path) + ". " + std::strerror(errno));
    }
    if (content.size() + static_cast<std::size_t>(n) > maxBytes)
      throw FileError("File " + Quoted(path) + " is too large (more than " +
                      std::to_string(maxBytes >> 20) + " MB).");
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return content;
}

FileWriter::FileWriter(std::filesystem::path path, WriteMode mode) : path_(std::move(path)) {
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
  std::filesystem::path target = path_;
  switch (mode) {
    case WriteMode::Replace:
      temporary_ = path_;
      temporary_ += ".partial~";
      target = temporary_;
      flags |= O_TRUNC;
      break;
    case WriteMode::Truncate: flags |= O_TRUNC; break;
    case WriteMode::Append: flags |= O_APPEND; break;
  }
  fd_ = ::open(target.c_str(), flags, 0644);
  if (fd_ < 0) throw FileError(CannotOpenMessage(path_, errno));
  if (mode == WriteMode::Append) {
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
      const int error = errno;
      ::close(fd_);
      fd_ = -1;
      throw FileError(CannotOpenMessage(path_, error));
    }
    start_ = status.st_size;
  }
  buffer_.reserve(1 << 16);
}

FileWriter::~FileWriter() {
  if (fd_ < 0) return;
  // Destroyed without Commit(): an exception or an abort is on its way out, so
  // nothing of what this writer began is kept.
  if (!temporary_.empty()) {
    ::close(fd_);
    ::unlink(temporary_.c_str());
    return;
  }
  CutBack();
}

void FileWriter::CutBack() noexcept {
  buffer_.clear();
  // Shortening a file needs no free space, so this works on a full disk too.
  int result = 0;
  if (fd_ >= 0) {
    do result = ::ftruncate(fd_, start_);
    while (result != 0 && errno == EINTR);
    if (result != 0) cutError_ = errno;
    ::close(fd_);
    fd_ = -1;
  } else {
    do result = ::truncate(path_.c_str(), start_);
    while (result != 0 && errno == EINTR);
    if (result != 0) cutError_ = errno;
  }
}

void FileWriter::Discard() {
  if (fd_ < 0) return;
  if (!temporary_.empty()) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
    return;
  }
  CutBack();
  if (cutError_ != 0)
    throw FileError("Write error in file " + Quoted(path_) + ". " + std::strerror(cutError_));
}

void FileWriter::FailWrite(int errorNumber) {
  if (!temporary_.empty()) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
  } else {
    CutBack();
  }
  throw FileError("Write error in file " + Quoted(path_) + ". " + std::strerror(errorNumber));
}

void FileWriter::Write(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= (1u << 20)) Flush();
}

void FileWriter::Flush() {
  const char* data = buffer_.data();
  std::size_t left = buffer_.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      FailWrite(errno);
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  buffer_.clear();
}

void FileWriter::Commit() {
  if (fd_ < 0) return;
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int error = errno;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    else CutBack();  // by name: the descriptor is gone
    throw FileError("Write error in file " + Quoted(path_) + ". " + std::strerror(error));
  }
  if (temporary_.empty()) return;
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary_.c_str());
    throw FileError("Cannot write file " + Quoted(path_) + ". " + std::strerror(error));
  }
}

void WriteTextFile(const std::filesystem::path& path, std::string_view content) {
  FileWriter writer(path);
  writer.Write(content);
  writer.Commit();
}

void RemoveFileIfPresent(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace lumetra
