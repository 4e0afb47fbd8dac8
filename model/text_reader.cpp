#include "model/text_reader.h"

#include <charconv>
#include <cmath>

#include "model/file_io.h"

namespace lumetra {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Tokens longer than this are not numbers of any file this program writes.
constexpr std::size_t MaxTokenLength = 64;

std::string Shown(std::string_view token) {
  if (token.size() > 24) return std::string(token.substr(0, 24)) + "...";
  return std::string(token);
}

}  // namespace

TextReader::TextReader(std::string_view content, std::string fileName)
    : content_(content), fileName_(std::move(fileName)) {}

void TextReader::Fail(std::string_view message) const { FailAtLine(line_, message); }

void TextReader::FailAtLine(int line, std::string_view message) const {
  throw FileError("Error in file \"" + fileName_ + "\", line " + std::to_string(line) + ": " +
                  std::string(message));
}

void TextReader::SkipWhitespace() {
  while (position_ < content_.size() && IsSpace(content_[position_])) {
    if (content_[position_] == '\n') ++line_;
    ++position_;
  }
}

bool TextReader::AtEnd() {
  SkipWhitespace();
  return position_ >= content_.size();
}

std::string_view TextReader::NextToken(std::string_view what) {
  SkipWhitespace();
  if (position_ >= content_.size())
    FailAtLine(lastTokenLine_ + (nextOnNewLine_ && line_ > lastTokenLine_ ? 1 : 0),
               "unexpected end of file, " + std::string(what) + " expected");
  lastTokenLine_ = line_;
  nextOnNewLine_ = false;
  std::size_t end = position_;
  while (end < content_.size() && !IsSpace(content_[end])) ++end;
  return content_.substr(position_, end - position_);
}

double TextReader::ReadReal(std::string_view what) {
  const std::string_view token = NextToken(what);
  std::size_t skip = 0;
  if (token.size() > 1 && token[0] == '+' && token[1] != '-' && token[1] != '+') skip = 1;
  double value = 0.0;
  const char* begin = token.data() + skip;
  const char* tokenEnd = token.data() + std::min(token.size(), MaxTokenLength);
  const auto [stop, error] = std::from_chars(begin, tokenEnd, value);
  // The number must fill the token, or stop right at the sign of the next number.
  const bool stopsAtSign = stop != begin && stop < token.data() + token.size() &&
                           (*stop == '-' || *stop == '+') && stop[-1] != 'E' && stop[-1] != 'e';
  if (error != std::errc{} || (stop != token.data() + token.size() && !stopsAtSign))
    Fail(std::string(what) + " expected, found \"" + Shown(token) + "\"");
  if (!std::isfinite(value)) Fail(std::string(what) + " is not a finite number");
  position_ += static_cast<std::size_t>(stop - token.data());
  return value;
}

std::int32_t TextReader::ReadInteger(std::string_view what, std::int64_t min, std::int64_t max) {
  const std::string_view token = NextToken(what);
  std::size_t skip = (token.size() > 1 && token[0] == '+') ? 1 : 0;
  std::int64_t value = 0;
  const auto [stop, error] =
      std::from_chars(token.data() + skip, token.data() + token.size(), value);
  if (error == std::errc::result_out_of_range ||
      (error == std::errc{} && stop == token.data() + token.size() && (value < min || value > max)))
    Fail(std::string(what) + " " + Shown(token) + " is out of range (" + std::to_string(min) +
         " to " + std::to_string(max) + ")");
  if (error != std::errc{} || stop != token.data() + token.size())
    Fail("integer " + std::string(what) + " expected, found \"" + Shown(token) + "\"");
  position_ += token.size();
  return static_cast<std::int32_t>(value);
}

int TextReader::BeginRecordLine() {
  // The next number opens a line: should the file end before it, that line is the
  // one missing, not the one before.
  nextOnNewLine_ = true;
  SkipWhitespace();
  return line_;
}

void TextReader::EndRecordLine(int line, int count, std::string_view record) {
  const std::string expected =
      std::to_string(count) + (count == 1 ? " number" : " numbers") + " expected on " +
      std::string(record) + " line";
  if (lastTokenLine_ != line) FailAtLine(line, expected + ", fewer found");
  std::size_t end = position_;
  while (end < content_.size() && content_[end] != '\n' && IsSpace(content_[end])) ++end;
  if (end < content_.size() && content_[end] != '\n') FailAtLine(line, expected + ", more found");
}

void TextReader::SkipLine() {
  while (position_ < content_.size() && content_[position_] != '\n') ++position_;
  if (position_ < content_.size()) {
    ++position_;
    ++line_;
  }
}

std::optional<std::string> TextReader::ReadLine(std::size_t maxLength) {
  if (position_ >= content_.size()) return std::nullopt;
  const std::size_t start = position_;
  std::size_t end = start;
  while (end < content_.size() && content_[end] != '\n') ++end;
  std::size_t length = end - start;
  if (length > 0 && content_[start + length - 1] == '\r') --length;
  if (length > maxLength) Fail("line is too long");
  std::string line(content_.substr(start, length));
  position_ = end;
  if (position_ < content_.size()) {
    ++position_;
    ++line_;
  }
  return line;
}

}  // namespace lumetra
