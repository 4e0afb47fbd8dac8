// A reader over the bytes of one text file that knows where it is.
//
// The project files are read the way they were always read: numbers are separated
// by any whitespace (blanks and line ends alike) and some readers skip the rest of
// a line after a record. Every failure throws FileError naming the file and the
// line, so a damaged or hostile file never yields a half-read project.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumetra {

class TextReader {
public:
  // The reader keeps a view of content; the caller keeps the bytes alive.
  TextReader(std::string_view content, std::string fileName);

  // True when nothing but whitespace is left, so a trailing blank line after the
  // last record does not start another record.
  bool AtEnd();

  // Next whitespace-delimited real; rejects text that is not a number and values
  // that are not finite. A number may be followed directly by the sign of the next
  // one, as two R23 fields written back to back are.
  double ReadReal(std::string_view what);
  // Next whitespace-delimited integer within [min, max].
  std::int32_t ReadInteger(std::string_view what, std::int64_t min, std::int64_t max);
  // Records are written one group of numbers per line. BeginRecordLine returns the
  // line the next number stands on; EndRecordLine then requires that the `count`
  // numbers read since all stood on that line and that nothing but blanks follows
  // them, so a line one number short or long is reported instead of shifting every
  // later value of the record.
  int BeginRecordLine();
  void EndRecordLine(int line, int count, std::string_view record);
  // Skips the remainder of the current line including its line end.
  void SkipLine();
  // The next whole line without its CR LF or LF; nullopt at the end of the file.
  // Lines longer than maxLength are a format error.
  std::optional<std::string> ReadLine(std::size_t maxLength = 4096);

  // 1-based number of the line the reader is on.
  int Line() const { return line_; }
  const std::string& FileName() const { return fileName_; }

  // Throws FileError: Error in file "<name>", line <n>: <message>
  [[noreturn]] void Fail(std::string_view message) const;
  [[noreturn]] void FailAtLine(int line, std::string_view message) const;

private:
  void SkipWhitespace();
  std::string_view NextToken(std::string_view what);

  std::string_view content_;
  std::size_t position_ = 0;
  int line_ = 1;
  int lastTokenLine_ = 1;  // where the end of the file is reported
  bool nextOnNewLine_ = false;
  std::string fileName_;
};

}  // namespace lumetra
