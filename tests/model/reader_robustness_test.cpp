// Damaged and hostile project files: every one gives an error naming the file and
// the line, and nothing of it reaches the model.
#include <gtest/gtest.h>

#include "model/file_io.h"
#include "model/project_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/error_text.h"

namespace lumetra {
namespace {

using testing::TempDir;
using testing::WriteBytes;

const char* const GoodPro =
    "d\r\nt\r\n40\r\n20\r\n1\r\n5\r\n0\r\n0\r\n2\r\n1\r\n1\r\n0\r\n0\r\n0\r\n1\r\n";
const char* const GoodSeg =
    "40 20  2.00000000000000E+0000 1 1\r\n"
    " 1.00000000000000E+0001  1.00000000000000E+0001  1.00000000000000E+0001  "
    "2.00000000000000E+0000\r\n5 1 \r\n";

// Loads a project whose .SEG (or another file) is replaced by the given text and
// returns the error text, or "no error" when it loaded.
std::string LoadError(const std::string& extension, const std::string& content) {
  TempDir dir;
  WriteBytes(dir / "p.PRO", GoodPro);
  WriteBytes(dir / "p.SEG", GoodSeg);
  WriteBytes(dir / ("p" + extension), content);
  return testing::ErrorText<FileError>([&] { LoadProject(dir / "p.PRO"); });
}

void ExpectErrorAt(const std::string& extension, const std::string& content, int line,
                   const std::string& detail = "") {
  const std::string error = LoadError(extension, content);
  SCOPED_TRACE(content);
  EXPECT_NE(error.find("p" + extension + "\", line " + std::to_string(line) + ":"),
            std::string::npos)
      << error;
  if (!detail.empty()) {
    EXPECT_NE(error.find(detail), std::string::npos) << error;
  }
}

TEST(ReaderRobustness, GoodFilesLoad) { EXPECT_EQ(LoadError(".GEN", ""), "no error"); }

TEST(ReaderRobustness, MissingProjectFilesNameTheFile) {
  TempDir dir;
  EXPECT_PRED2(testing::Holds,
               testing::ErrorText<FileError>([&] { LoadProject(dir / "nothing.PRO"); }),
               "nothing.PRO\". No such file");
  WriteBytes(dir / "p.PRO", GoodPro);
  EXPECT_THROW(LoadProject(dir / "p.PRO"), FileError);  // no .SEG
}

TEST(ReaderRobustness, DamagedSegmentFiles) {
  const std::string header = "40 20  2.00000000000000E+0000 1 1\r\n";
  ExpectErrorAt(".SEG", "", 1, "end of file");
  ExpectErrorAt(".SEG", "40 20 abc 1 1\r\n", 1, "\"abc\"");
  ExpectErrorAt(".SEG", "40 20 0 1 1\r\n", 1, "grid size");         // a zero grid
  ExpectErrorAt(".SEG", "-40 20 2 1 1\r\n", 1, "out of range");     // negative board
  ExpectErrorAt(".SEG", header + "1 2 3\r\n", 2, "end of file");    // truncated record
  ExpectErrorAt(".SEG", header + "1 2 3 4\r\n5\r\n", 3, "end of file");
  ExpectErrorAt(".SEG", header + "nan 2 3 4\r\n5 1\r\n", 2, "finite");
  ExpectErrorAt(".SEG", header + "1 2 inf 4\r\n5 1\r\n", 2);
  ExpectErrorAt(".SEG", header + "1 2 -3 4\r\n5 1\r\n", 2, "positive");
  ExpectErrorAt(".SEG", header + "1 2 3 4\r\n-5 1\r\n", 3, "out of range");
  ExpectErrorAt(".SEG", header + "1 2 3 4\r\n1000000000 1\r\n", 3, "out of range");
  ExpectErrorAt(".SEG", header + "1 2 3 4\r\n99999999999999999999 1\r\n", 3, "out of range");
  ExpectErrorAt(".SEG", header + "1 2 3 4\r\n5.5 1\r\n", 3, "integer");
  ExpectErrorAt(".SEG", header + "1 2 1e300 4\r\n5 1\r\n", 2, "positive");
  // Each segment alone is allowed, together they exceed the charge limit.
  ExpectErrorAt(".SEG", header + "1 2 3 4\r\n5000 1000\r\n1 2 3 4\r\n5000 1000\r\n1 2 3 4\r\n5000 1000\r\n", 7,
                "charge elements");
  ExpectErrorAt(".SEG", header + std::string(100, 'x'), 2);
}

TEST(ReaderRobustness, DamagedProjectFile) {
  ExpectErrorAt(".PRO", "only\r\nthree\r\nlines\r\n", 4, "15 lines");
  ExpectErrorAt(".PRO", "", 1);
  ExpectErrorAt(".PRO", std::string("d\r\nt\r\n40\r\n20\r\n1\r\n5\r\n") + std::string(10000, '7'), 7,
                "too long");
}

TEST(ReaderRobustness, RecordFilesMustNameExistingElements) {
  // The good layout has one segment of 5 x 1 cells: 5 charges, 4 Jx, 0 Jy elements.
  const std::string place = " 1 1 1 1\r\n";
  EXPECT_EQ(LoadError(".GEN", place + "1 0 1 4\r\n"), "no error");
  ExpectErrorAt(".GEN", place + "1 0 1 5\r\n", 1, "Jx element 5 does not exist");
  ExpectErrorAt(".IMP", place + "0 0 0 1\r\n", 1, "Jy element 1 does not exist");
  ExpectErrorAt(".GEN", place + "1 0 1 0\r\n", 2, "out of range");
  ExpectErrorAt(".GEN", place + "1 0 1\r\n", 2, "end of file");
  // A record whose second line is missing is reported at that line, not before it.
  ExpectErrorAt(".GEN", place, 2, "end of file, real part of the voltage expected");
  ExpectErrorAt(".IMP", place + "\r\n", 2, "end of file, resistance expected");
  ExpectErrorAt(".GPC", "1 1 0.3\r\n", 2, "end of file, x expected");
  ExpectErrorAt(".SEG", "40 20 2 1 1\r\n1 2 3 4\r\n", 3, "end of file, number of charges");
  ExpectErrorAt(".GPC", "6 1 0.3\r\n1 1\r\n", 1, "charge element 6 does not exist");
  ExpectErrorAt(".GPC", "1 5 0.3\r\n1 1\r\n", 1, "edge");
  ExpectErrorAt(".GPC", "1 1 0.3\r\n1 nan\r\n", 2, "finite");
}

// Records are one group of numbers per line: a line one number short or long is
// reported at that line, instead of shifting the record's later values.
TEST(ReaderRobustness, RecordLinesHoldExactlyTheirNumbers) {
  const std::string board = "40 20 2 1 1\r\n", place = "10 10 10 2\r\n", counts = "5 1 \r\n";
  struct Case {
    const char* extension;
    std::string content;
    int line;
  };
  const Case cases[] = {
      {".SEG", "40 20 2 1\r\n" + place + counts, 1},
      {".SEG", "40 20 2 1 1 7\r\n" + place + counts, 1},
      {".SEG", board + "10 10 10\r\n" + counts, 2},
      {".SEG", board + "10 10 10 2 3\r\n" + counts, 2},
      {".SEG", board + place + "5\r\n", 3},
      {".SEG", board + place + "5 1 1\r\n", 3},
      {".GEN", "1 1 1\r\n1 0 1 4\r\n", 1},
      {".GEN", "1 1 1 1 1\r\n1 0 1 4\r\n", 1},
      {".GEN", " 1 1 1 1\r\n1 0 1\r\n", 2},
      {".IMP", " 1 1 1 1\r\n1 0 1 4 9\r\n", 2},
      {".GPC", "1 1\r\n0.3 1 1\r\n", 1},
      {".GPC", "1 1 0.3 4\r\n1 1\r\n", 1},
      {".GPC", "1 1 0.3\r\n1\r\n", 2},
      {".GPC", "1 1 0.3\r\n1 1 1\r\n", 2},
  };
  for (const Case& c : cases) ExpectErrorAt(c.extension, c.content, c.line);

  // The element files the solver reads back: four numbers, then the two charges.
  const auto elementError = [](const std::string& content, bool current) {
    return testing::ErrorText<FileError>([&] {
      if (current) ParseCurrentElementFile(content, "p.JXC");
      else ParseChargeElementFile(content, "p.CHE");
    });
  };
  EXPECT_EQ(elementError("1 1 1 1\r\n2 2 2 2\r\n", false), "no error");
  EXPECT_NE(elementError("1 1 1\r\n2 2 2 2 2\r\n", false).find("line 1: 4 numbers"), std::string::npos);
  EXPECT_NE(elementError("1 1 1 1 1\r\n", false).find("line 1: 4 numbers"), std::string::npos);
  EXPECT_EQ(elementError("1 1 1 1\r\n1 2\r\n", true), "no error");
  EXPECT_NE(elementError("1 1 1 1\r\n1\r\n2 2 2 2\r\n1 2\r\n", true).find("line 2: 2 numbers"),
            std::string::npos);
  EXPECT_NE(elementError("1 1 1 1\r\n1 2 3\r\n", true).find("line 2: 2 numbers"), std::string::npos);
}

}  // namespace
}  // namespace lumetra
