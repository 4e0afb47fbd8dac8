// What the fuzz targets share: a broken property stops the run where the fuzzer
// sees it, and one input is cut at NUL bytes into the texts of several files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::fuzz {

inline void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// The texts between NUL bytes, count of them: the last takes the rest of the
// input, the ones the input does not reach are empty.
inline std::vector<std::string> SplitAtNul(std::string_view data, std::size_t count) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() + 1 < count) {
    const std::size_t nul = data.find('\0', start);
    if (nul == std::string_view::npos) break;
    parts.emplace_back(data.substr(start, nul - start));
    start = nul + 1;
  }
  parts.emplace_back(data.substr(start));
  parts.resize(count);
  return parts;
}

}  // namespace lumetra::fuzz
