// A flat byte encoding of plain values, for the records of frequency points that
// one process solves and another commits (machines of one architecture: numbers
// travel as their bytes, so a double arrives bit for bit).
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace lumetra {

class ByteWriter {
public:
  template <typename T>
    requires std::is_arithmetic_v<T> || std::is_enum_v<T>
  void Put(T value) {
    bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  void PutText(std::string_view text) {
    Put(static_cast<std::uint64_t>(text.size()));
    bytes_.append(text);
  }
  std::string Take() { return std::move(bytes_); }

private:
  std::string bytes_;
};

// Reads what a ByteWriter wrote, in the same order; a record cut short or too long
// throws std::runtime_error rather than reading past its end.
class ByteReader {
public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  template <typename T>
    requires std::is_arithmetic_v<T> || std::is_enum_v<T>
  T Get() {
    T value;
    std::memcpy(&value, Next(sizeof value).data(), sizeof value);
    return value;
  }
  std::string GetText() { return std::string(Next(Get<std::uint64_t>())); }
  // A count of items that each take at least `itemBytes`: refused when the rest of
  // the record cannot hold them.
  std::uint64_t GetCount(std::size_t itemBytes) {
    const auto count = Get<std::uint64_t>();
    if (itemBytes > 0 && count > (bytes_.size() - position_) / itemBytes) Fail();
    return count;
  }
  void ExpectEnd() const {
    if (position_ != bytes_.size()) Fail();
  }

private:
  std::string_view Next(std::uint64_t count) {
    if (count > bytes_.size() - position_) Fail();
    const std::string_view part = bytes_.substr(position_, count);
    position_ += count;
    return part;
  }
  [[noreturn]] static void Fail() { throw std::runtime_error("malformed point record"); }

  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace lumetra
