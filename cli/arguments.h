// Command-line parsing shared by the lumetra-cli commands.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace lumetra::cli {

// Exit codes of lumetra-cli.
inline constexpr int ExitOk = 0;
inline constexpr int ExitReportedError = 1;
inline constexpr int ExitUsage = 2;

// Thrown for a malformed command line; main prints it with the usage and exits 2.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The words after the command name, consumed front to back.
class Arguments {
public:
  explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

  bool Empty() const { return next_ >= words_.size(); }
  const std::string& Peek() const;
  std::string Take(const char* what);
  // Removes a flag wherever it stands; true when it was there.
  bool TakeFlag(const std::string& flag);
  // The values following a flag wherever it stands; empty when the flag is absent.
  std::vector<std::string> TakeOption(const std::string& flag, std::size_t valueCount);
  // Fails with a usage error when words are left over.
  void ExpectEnd() const;
  // The value of an "A:B:S" option split into start, stop and step texts (the
  // numbers themselves are checked by the core, with the dialogs' messages).
  static void SplitRange(const std::string& option, const std::string& value, std::string& start,
                         std::string& stop, std::string& step);

private:
  std::vector<std::string> words_;
  std::size_t next_ = 0;
};

}  // namespace lumetra::cli
