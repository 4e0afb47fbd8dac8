// Reading result files back: frequency scan, block lookup, the choice of the
// current file, and damaged files reported as FileError instead of misread.
#include "fields/result_readers.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "fields/result_files.h"
#include "model/file_io.h"
#include "tests/fields/result_fixtures.h"
#include "tests/support/error_text.h"

namespace lumetra {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// Blocks of two Jx elements at 100, 150 and 250 MHz; the current's real part is
// the frequency, so a block shows where it came from.
std::filesystem::path ThreeFrequencies(const TempDir& dir) {
  const auto xxx = dir / "p.XXX";
  const std::vector<CurrentCell> jx = {testing::Element(0.01, 0.005, 0.002, 0.001),
                                       testing::Element(0.012, 0.005, 0.002, 0.001)};
  bool first = true;
  for (double f : {100.0, 150.0, 250.0}) {
    const Complex currents[] = {{f, 1.0}, {f, 2.0}};
    WriteCurrentFile(xxx, first, f, jx, currents);
    first = false;
  }
  return xxx;
}

TEST(ResultReaders, ScanListsTheBlocksInFileOrder) {
  TempDir dir;
  const auto xxx = ThreeFrequencies(dir);
  EXPECT_EQ(ScanFrequencies(xxx, CurrentFileFields), (std::vector<double>{100.0, 150.0, 250.0}));
  WriteBytes(dir / "empty.YYY", "");
  EXPECT_TRUE(ScanFrequencies(dir / "empty.YYY", CurrentFileFields).empty());
  EXPECT_THROW(ScanFrequencies(dir / "absent.XXX", CurrentFileFields), FileError);
}

TEST(ResultReaders, FindBlockMatchesExactlyAndAtOrAboveTakesTheNextBlock) {
  TempDir dir;
  const auto xxx = ThreeFrequencies(dir);
  const std::optional<ResultBlock> exact = FindBlock(xxx, 150.0, CurrentFileFields);
  ASSERT_TRUE(exact);
  EXPECT_EQ(exact->Frequency, 150.0);
  ASSERT_EQ(exact->Rows(), 2u);
  // x in mm, the current.
  EXPECT_EQ(std::tie(exact->Row(1)[0], exact->Row(1)[4], exact->Row(1)[5]),
            std::make_tuple(12.0, 150.0, 2.0));
  EXPECT_FALSE(FindBlock(xxx, 150.0000001, CurrentFileFields));

  std::vector<double> found;
  for (double f : {150.0, 150.0000001, 1.0})
    found.push_back(FirstBlockAtOrAbove(xxx, f, CurrentFileFields)->Frequency);
  EXPECT_EQ(found, (std::vector<double>{150.0, 250.0, 100.0}));
  EXPECT_FALSE(FirstBlockAtOrAbove(xxx, 251.0, CurrentFileFields));
}

TEST(ResultReaders, SingleBlockIsTakenWhateverItsFrequency) {
  TempDir dir;
  const auto rad = dir / "p.RAD";
  WriteBytes(rad, " 3.00000000000000E+0002 1\r\n"
                  " 0.0000E+0000  0.0000E+0000  1.0000E+0000  2.0000E+0000\r\n");
  const std::optional<ResultBlock> block = FindBlock(rad, 299.99, FarFieldFileFields);
  ASSERT_TRUE(block);
  EXPECT_EQ(std::tie(block->Frequency, block->Row(0)[3]), std::make_tuple(300.0, 2.0));
}

TEST(ResultReaders, ScanFileIsXxxUnlessItIsEmpty) {
  TempDir dir;
  const auto pro = dir / "p.PRO";
  CreateEmptyResultFiles(pro);
  ThreeFrequencies(dir);  // a Jx-only layout: .YYY stays empty
  EXPECT_EQ(FrequencyScanFile(pro), dir / "p.XXX");
  EXPECT_EQ(ScanFrequencies(FrequencyScanFile(pro), CurrentFileFields).size(), 3u);

  CreateEmptyResultFiles(pro);
  WriteCurrentFile(dir / "p.YYY", true, 42.0, {}, nullptr);
  EXPECT_EQ(FrequencyScanFile(pro), dir / "p.YYY");
  EXPECT_EQ(ScanFrequencies(FrequencyScanFile(pro), CurrentFileFields),
            (std::vector<double>{42.0}));

  WriteBytes(dir / "p.XXX", "\r\n  \r\n");
  EXPECT_TRUE(IsResultFileEmpty(dir / "p.XXX"));
  EXPECT_TRUE(IsResultFileEmpty(dir / "absent.XXX"));
  EXPECT_FALSE(IsResultFileEmpty(dir / "p.YYY"));
}

TEST(ResultReaders, ToleratesLfLineEndsAndTrailingBlankLines) {
  const std::string content = "100 1\n1 2 3 4\n\n200 1\n5 6 7 8\n\n\n";
  EXPECT_EQ(ScanFrequencies(content, "x.RAD", 4), (std::vector<double>{100.0, 200.0}));
  EXPECT_EQ(FirstBlockAtOrAbove(content, "x.RAD", 150.0, 4)->Row(0)[0], 5.0);
}

// The message of the FileError a damaged content raises.
std::string ErrorOf(const std::string& content, int fields = 4) {
  return testing::ErrorText<FileError>([&] { ScanFrequencies(content, "damaged.RAD", fields); });
}

// Each damaged content against the error's words after "line ".
void ExpectErrors(const std::vector<std::pair<std::string, std::string>>& cases) {
  for (const auto& [content, error] : cases)
    EXPECT_EQ(ErrorOf(content), "Error in file \"damaged.RAD\", line " + error) << content;
}

TEST(ResultReaders, DamagedFilesNameTheFileAndTheLine) {
  const std::string header = "block header (frequency and line count) expected, found ";
  const std::string count = "line count expected after the frequency, found ";
  ExpectErrors({
      // Too small a count: the next data line is taken for a header.
      {"100 1\n1 2 3 4\n5 6 7 8\n200 1\n1 2 3 4\n", "3: " + header + "\"5 6 7 8\""},
      // Too large a count: the next header is taken for a data line.
      {"100 2\n1 2 3 4\n200 1\n1 2 3 4\n", "3: 4 numbers expected on a data line, 2 found"},
      {"100 1\n1 2 x 4\n", "2: number expected, found \"x\""},
      {"100 -1\n", "1: " + count + "\"-1\""},
      {"100 1.5\n1 2 3 4\n", "1: " + count + "\"1.5\""},
  });
}

// Every file kind: a data line one number short or one number long is reported at
// that line, by the scan and by both lookups, and never read as a shifted block.
TEST(ResultReaders, DataLinesMustHoldExactlyTheKindsNumberOfValues) {
  for (int fields : {CurrentFileFields, GroundPlaneFileFields, FarFieldFileFields,
                     NearFieldFileFields}) {
    const auto line = [](int count) {
      std::string text;
      for (int k = 1; k <= count; ++k) text += std::to_string(k) + (k < count ? " " : "\r\n");
      return text;
    };
    const std::string good = "100 2\r\n" + line(fields) + line(fields);
    EXPECT_EQ(ScanFrequencies(good + good, "d.RAD", fields), (std::vector<double>{100, 100}));
    for (int count : {fields - 1, fields + 1}) {
      SCOPED_TRACE(std::to_string(fields) + " fields, " + std::to_string(count) + " found");
      const std::string damaged = "100 2\r\n" + line(fields) + line(count) + "200 1\r\n" + line(fields);
      const std::string where = "Error in file \"d.RAD\", line 3: ";
      for (const auto& read : std::initializer_list<std::function<void()>>{
               [&] { ScanFrequencies(damaged, "d.RAD", fields); },
               [&] { FindBlock(damaged, "d.RAD", 100.0, fields); },
               [&] { FirstBlockAtOrAbove(damaged, "d.RAD", 150.0, fields); }}) {
        const std::string error = testing::ErrorText<FileError>(read);
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
      }
    }
  }
}

TEST(ResultReaders, AnInterruptedRunsLastBlockIsSetAsideWithItsLine) {
  const std::string whole = "100 1\r\n1 2 3 4\r\n";
  const struct {
    std::string tail;
    int line;  // where the incomplete block begins
  } cases[] = {
      {"200 3\r\n5 6 7 8\r\n", 3},              // fewer lines than announced
      {"200 1\r\n5 6 7", 3},                      // a data line cut short (disk full)
      {"200 1\r\n5 6 7 8", 3},                    // its last number may be cut short too
      {"200 1\r\n5 6 7 8\r", 3},                 // cut between CR and LF
      {"2.00000000", 3},                          // a header cut short
      {"200 1\r\n5.0E" + std::string(5000, '\0'), 3},  // zeros a power loss left
      {std::string(4096, '\0'), 3},
  };
  for (const auto& c : cases) {
    const std::string content = whole + c.tail;
    std::string warning;
    EXPECT_EQ(ScanFrequencies(content, "run.RAD", 4, &warning), std::vector<double>{100.0})
        << c.tail.substr(0, 20);
    EXPECT_EQ(warning, "Warning: The last block of file \"run.RAD\" (from line " +
                           std::to_string(c.line) +
                           ") is incomplete, left by an interrupted computation; it was ignored.");
    // The lookups see the same whole blocks: the one left counts as the only block.
    std::string found, above;
    EXPECT_EQ(FindBlock(content, "run.RAD", 200.0, 4, &found)->Row(0)[0], 1.0);
    EXPECT_FALSE(FirstBlockAtOrAbove(content, "run.RAD", 150.0, 4, &above));
    EXPECT_FALSE(found.empty() || above.empty());
  }

  // Two whole blocks before the tail: exact lookups still find each.
  const std::string two = whole + "200 1\r\n5 6 7 8\r\n300 1\r\n9 9";
  EXPECT_EQ(ScanFrequencies(two, "run.RAD", 4), (std::vector<double>{100.0, 200.0}));
  EXPECT_EQ(FindBlock(two, "run.RAD", 200.0, 4)->Row(0)[0], 5.0);
  EXPECT_FALSE(FindBlock(two, "run.RAD", 300.0, 4));
  EXPECT_EQ(FirstBlockAtOrAbove(two, "run.RAD", 150.0, 4)->Frequency, 200.0);

  // Nothing but an incomplete first block: no frequencies, and the warning.
  std::string warning;
  EXPECT_TRUE(ScanFrequencies("100 46\r\n0 0 1", "run.RAD", 4, &warning).empty());
  EXPECT_EQ(warning, DamagedTailWarning("run.RAD", 1));

  // A file of whole blocks leaves the warning untouched.
  warning = "unchanged";
  EXPECT_EQ(ScanFrequencies(whole, "run.RAD", 4, &warning).size(), 1u);
  EXPECT_EQ(warning, "unchanged");
}

TEST(ResultReaders, DamageBeforeTheLastBlockOrOtherThanACutStaysAnError) {
  ExpectErrors({
      // A short line that more blocks follow was not cut by a crash.
      {"100 1\n1 2\n200 1\n1 2 3 4\n", "2: 4 numbers expected on a data line, 2 found"},
      // A short last line that has its line end was written so.
      {"100 1\n1 2 3 4\n200 1\n1 2\n", "4: 4 numbers expected on a data line, 2 found"},
      // Text that no writer stops in is not a cut: a last line of words, a binary tail.
      {"100 1\n1 2 3 4\n200 1\n1 2 x", "4: number expected, found \"x\""},
      // A line of words is reported by its first word, not as a count of numbers.
      {"100 2\n1 2 3 4\nno current here\n", "3: number expected, found \"no\""},
      {"100 1\n1 2 3 4\nhello",
       "3: block header (frequency and line count) expected, found \"hello\""},
  });
  EXPECT_NE(ErrorOf("100 1\n1 2 3 4\n" + std::string(5000, 'x')).find("line 3: line is too long"),
            std::string::npos);
}

TEST(ResultReaders, HostileContentFailsFastWithoutHugeAllocations) {
  // A count near the integer limit on a two-line file ends at the end of the file,
  // as the incomplete block of an interrupted run.
  std::string tail;
  EXPECT_TRUE(ScanFrequencies("100 2147483647\n1 2 3 4\n", "d.RAD", 4, &tail).empty());
  EXPECT_EQ(tail, DamagedTailWarning("d.RAD", 1));
  EXPECT_NE(ErrorOf("100 99999999999999999999\n").find("line 1"), std::string::npos);
  EXPECT_NE(ErrorOf("nan 1\n1 2 3 4\n").find("line 1"), std::string::npos);
  EXPECT_NE(ErrorOf("100 1\n1 2 inf 4\n").find("line 2"), std::string::npos);
  EXPECT_NE(ErrorOf("100 1\n1e999 2 3 4\n").find("line 2"), std::string::npos);
  EXPECT_NE(ErrorOf(std::string("\x7f" "ELF\0\0\1", 7)).find("line 1"), std::string::npos);
  EXPECT_NE(ErrorOf("100 1\n" + std::string(5000, '1') + "\n").find("too long"),
            std::string::npos);
  // Lookups check the blocks they pass over as well.
  EXPECT_THROW(FirstBlockAtOrAbove("100 1\n1 2\n200 0\n", "d.RAD", 150.0, 4), FileError);
  EXPECT_THROW(FindBlock("100 1\n1 2 3 4\n200 1\n1 2 3\n", "d.RAD", 200.0, 4), FileError);
}

}  // namespace
}  // namespace lumetra
