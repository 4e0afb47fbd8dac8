#include "cli/arguments.h"

#include <algorithm>

namespace lumetra::cli {

const std::string& Arguments::Peek() const {
  if (Empty()) throw UsageError("missing argument");
  return words_[next_];
}

std::string Arguments::Take(const char* what) {
  if (Empty()) throw UsageError(std::string("missing ") + what);
  return words_[next_++];
}

bool Arguments::TakeFlag(const std::string& flag) {
  const auto it = std::find(words_.begin() + static_cast<std::ptrdiff_t>(next_), words_.end(), flag);
  if (it == words_.end()) return false;
  words_.erase(it);
  return true;
}

std::vector<std::string> Arguments::TakeOption(const std::string& flag, std::size_t valueCount) {
  const auto begin = words_.begin() + static_cast<std::ptrdiff_t>(next_);
  const auto it = std::find(begin, words_.end(), flag);
  if (it == words_.end()) return {};
  if (static_cast<std::size_t>(words_.end() - it) < valueCount + 1)
    throw UsageError(flag + " needs " + std::to_string(valueCount) + " value(s)");
  std::vector<std::string> values(it + 1, it + 1 + static_cast<std::ptrdiff_t>(valueCount));
  words_.erase(it, it + 1 + static_cast<std::ptrdiff_t>(valueCount));
  return values;
}

void Arguments::ExpectEnd() const {
  if (!Empty()) throw UsageError("unexpected argument \"" + words_[next_] + "\"");
}

void Arguments::SplitRange(const std::string& option, const std::string& value,
                           std::string& start, std::string& stop, std::string& step) {
  std::vector<std::string> parts(1);
  for (char c : value) {
    if (c == ':')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() != 3) throw UsageError(option + " needs START:STOP:STEP, got \"" + value + "\"");
  start = parts[0];
  stop = parts[1];
  step = parts[2];
}

}  // namespace lumetra::cli
