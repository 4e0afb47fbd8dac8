// Whole-file reading and writing for the project's text files.
//
// Every file is read completely into memory in one step (with a size cap, since a
// project directory is untrusted input) and written in one step. Writes go to a
// temporary name beside the target that is renamed over it only after all bytes
// are on disk, so a full disk or a dying process never leaves a half-written file
// in place of a good one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <sys/types.h>
#include <string>
#include <string_view>

namespace lumetra {

// An input/output or format failure; what() is the complete text shown to the user,
// naming the file (and, for a format error, the line).
class FileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Largest file any reader accepts. A project at the solver's limit writes a few
// hundred kilobytes; a million-cell layout stays far below this.
inline constexpr std::size_t MaxTextFileBytes = 256u << 20;

// Reads a whole file; throws FileError when it cannot be opened or read, or is
// larger than maxBytes.
std::string ReadTextFile(const std::filesystem::path& path,
                         std::size_t maxBytes = MaxTextFileBytes);

// How a FileWriter treats the file it writes.
enum class WriteMode {
  // Through a temporary beside the target that replaces it on Commit(): a writer
  // destroyed without Commit() (an exception on the way) leaves the old file as it
  // was. For every file that is written whole.
  Replace,
  // In place, emptied first or appended to, for result files that grow by one
  // block per frequency. What the writer adds is kept only when Commit() succeeds:
  // a write error (a full disk), a failed close or a writer destroyed without
  // Commit() (an abort, an exception) cuts the file back to the length it had when
  // the writer opened it, so a file never ends in half of what was being added.
  Truncate,
  Append,
};

// Buffered, checked writing of one file. Throws FileError naming the file.
class FileWriter {
public:
  explicit FileWriter(std::filesystem::path path, WriteMode mode = WriteMode::Replace);
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  void Write(std::string_view text);
  void Commit();
  // Drops what this writer wrote and closes the file: a Replace writer leaves the
  // old file, an in-place writer cuts the file back. Throws FileError when the cut
  // fails (the file may then end in a partial block).
  void Discard();

private:
  void Flush();
  void CutBack() noexcept;
  [[noreturn]] void FailWrite(int errorNumber);

  std::filesystem::path path_;
  std::filesystem::path temporary_;  // empty when writing in place
  int fd_ = -1;
  std::string buffer_;
  // In place: the length of the file when it was opened, where a failure cuts it
  // back to; errno of a cut that failed, or 0.
  off_t start_ = 0;
  int cutError_ = 0;
};

// Replaces the file with the given bytes (created when missing); throws FileError.
void WriteTextFile(const std::filesystem::path& path, std::string_view content);

// Deletes a file if it exists; a missing file is not an error.
void RemoveFileIfPresent(const std::filesystem::path& path);

// The text shown when a file cannot be opened: Cannot open file "<path>". <reason>
std::string CannotOpenMessage(const std::filesystem::path& path, int errorNumber);

}  // namespace lumetra
