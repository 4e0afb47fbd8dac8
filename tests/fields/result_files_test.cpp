// The result-file writers: number forms, block framing, the truncate-then-append
// rule, and the layouts of the current and ground-point files.
#include "fields/result_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "model/file_io.h"
#include "model/number_format.h"
#include "tests/fields/result_fixtures.h"
#include "tests/support/error_text.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(ResultFormat, ShortAndLongExponentFormsOfTheFileTable) {
  EXPECT_EQ(FormatR23(100.0) + FormatR23(-0.5), " 1.00000000000000E+0002-5.00000000000000E-0001");
  // Rounding to five digits carries into the exponent (9.99996, -99999.5).
  std::string r13;
  for (double v : {100.0, -0.5, 0.0, -0.0, 1.23456e-300, 9.99996, -99999.5}) r13 += FormatR13(v);
  EXPECT_EQ(r13,
            " 1.0000E+0002-5.0000E-0001 0.0000E+0000 0.0000E+0000 1.2346E-0300"
            " 1.0000E+0001-1.0000E+0005");
  for (double v : {1.0, -3.5, 1e-12, 123456789.123, 5e-324, std::nan("")})
    EXPECT_EQ(FormatR13(v).size(), 13u) << v;
  // The width sets the digits; width 23 is R23.
  for (double v : {M_PI, -1e-7 / 3, 0.0, 6.02214076e23, -2.5e-308})
    EXPECT_EQ(FormatExponential(v, 23), FormatR23(v)) << v;
  EXPECT_EQ(FormatExponential(-M_PI, 16), "-3.1415927E+0000");
}

TEST(ResultFormat, HeaderIsFrequencyBlankCountWithoutPadding) {
  std::string block;
  WriteResultHeader(block, 300.0, 0);
  EXPECT_EQ(block, " 3.00000000000000E+0002 0\r\n");
  WriteResultHeader(block, 1.5, 12345);
  EXPECT_EQ(block, " 3.00000000000000E+0002 0\r\n 1.50000000000000E+0000 12345\r\n");
}

ElementLists TwoJx() {
  ElementLists lists;
  lists.Jx = {testing::Element(0.010, 0.005, 0.002, 0.001),
              testing::Element(0.012, 0.005, 0.002, 0.001)};
  return lists;
}

TEST(ResultWriters, SecondFrequencyFollowsTheFirstBlockDirectly) {
  TempDir dir;
  const auto xxx = dir / "p.XXX";
  WriteBytes(xxx, "results of an earlier run\r\n");
  const ElementLists lists = TwoJx();
  const Complex first[] = {{1.0, -0.5}, {0.25, 0.0}};
  const Complex second[] = {{-2.0, 3.0}, {0.0, 1e-6}};
  WriteCurrentFile(xxx, true, 100.0, lists.Jx, first);
  WriteCurrentFile(xxx, false, 150.0, lists.Jx, second);
  EXPECT_EQ(ReadBytes(xxx),
            " 1.00000000000000E+0002 2\r\n"
            " 1.00000000000000E+0001  5.00000000000000E+0000  2.00000000000000E+0000"
            "  1.00000000000000E+0000  1.00000000000000E+0000 -5.00000000000000E-0001\r\n"
            " 1.20000000000000E+0001  5.00000000000000E+0000  2.00000000000000E+0000"
            "  1.00000000000000E+0000  2.50000000000000E-0001  0.00000000000000E+0000\r\n"
            " 1.50000000000000E+0002 2\r\n"
            " 1.00000000000000E+0001  5.00000000000000E+0000  2.00000000000000E+0000"
            "  1.00000000000000E+0000 -2.00000000000000E+0000  3.00000000000000E+0000\r\n"
            " 1.20000000000000E+0001  5.00000000000000E+0000  2.00000000000000E+0000"
            "  1.00000000000000E+0000  0.00000000000000E+0000  1.00000000000000E-0006\r\n");

  // The next run's first point starts the file again.
  WriteCurrentFile(xxx, true, 200.0, {}, nullptr);
  EXPECT_EQ(ReadBytes(xxx), " 2.00000000000000E+0002 0\r\n");
}

TEST(ResultWriters, FreshRunCreatesTheFourCurrentFilesEmpty) {
  TempDir dir;
  const auto pro = dir / "board.PRO";
  WriteBytes(dir / "board.YYY", "stale");
  CreateEmptyResultFiles(pro);
  for (const char* extension : {"board.XXX", "board.YYY", "board.ZZX", "board.ZZY"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / extension)) << extension;
    EXPECT_EQ(ReadBytes(dir / extension), "") << extension;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "board.RAD"));
}

TEST(ResultWriters, GroundPointsSplitByEdgeKindWithSignedHalfSizes) {
  TempDir dir;
  const auto pro = dir / "gp.PRO";
  ElementLists lists;
  lists.Charges = {testing::Cell(0.010, 0.020, 0.004, 0.002)};
  for (int edge : {1, 3, 2, 4}) lists.GroundPoints.push_back(testing::EdgePoint(lists, 1, edge));
  const Complex currents[] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  WriteGroundPlaneFiles(pro, true, 300.0, lists, currents, 1.6);

  // Left edge (side +1) then right edge (side -1): x, y, +-dxq/2, dyq, height, I.
  EXPECT_EQ(ReadBytes(dir / "gp.ZZX"),
            " 3.00000000000000E+0002 2\r\n"
            " 8.00000000000000E+0000  2.00000000000000E+0001  2.00000000000000E+0000"
            "  2.00000000000000E+0000  1.60000000000000E+0000  1.00000000000000E+0000"
            "  2.00000000000000E+0000\r\n"
            " 1.20000000000000E+0001  2.00000000000000E+0001 -2.00000000000000E+0000"
            "  2.00000000000000E+0000  1.60000000000000E+0000  5.00000000000000E+0000"
            "  6.00000000000000E+0000\r\n");
  // Bottom edge (side +1) then top edge (side -1): x, y, dxq, +-dyq/2, height, I.
  EXPECT_EQ(ReadBytes(dir / "gp.ZZY"),
            " 3.00000000000000E+0002 2\r\n"
            " 1.00000000000000E+0001  1.90000000000000E+0001  4.00000000000000E+0000"
            "  1.00000000000000E+0000  1.60000000000000E+0000  3.00000000000000E+0000"
            "  4.00000000000000E+0000\r\n"
            " 1.00000000000000E+0001  2.10000000000000E+0001  4.00000000000000E+0000"
            " -1.00000000000000E+0000  1.60000000000000E+0000  7.00000000000000E+0000"
            "  8.00000000000000E+0000\r\n");
}

TEST(ResultWriters, GroundPlaneFilesAreWrittenAlsoWithoutGroundPoints) {
  TempDir dir;
  const auto pro = dir / "gp.PRO";
  const ElementLists none;
  WriteGroundPlaneFiles(pro, true, 100.0, none, nullptr, 2.0);
  WriteGroundPlaneFiles(pro, false, 200.0, none, nullptr, 2.0);
  const std::string expected = " 1.00000000000000E+0002 0\r\n 2.00000000000000E+0002 0\r\n";
  EXPECT_EQ(std::make_tuple(ReadBytes(dir / "gp.ZZX"), ReadBytes(dir / "gp.ZZY")),
            std::make_tuple(expected, expected));
}

TEST(ResultWriters, UnwritableLocationIsAFileErrorNamingTheFile) {
  TempDir dir;
  const auto xxx = dir / "missing-directory" / "p.XXX";
  EXPECT_PRED2(testing::Holds,
               testing::ErrorText<FileError>([&] { WriteCurrentFile(xxx, true, 1.0, {}, nullptr); }),
               xxx.string());
  EXPECT_THROW(WriteResultBlock(dir.path(), false, "x"), FileError);  // a directory
}

}  // namespace
}  // namespace lumetra
