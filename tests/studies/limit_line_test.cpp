// The shipped limit lines against the published tables, at and around every band
// edge; distance conversion; malformed limit files.
#include "studies/emission/limit_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>

#include "model/file_io.h"
#include "studies/emission/limit_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/error_text.h"

namespace lumetra::emission {
namespace {

double Db(double microvoltsPerMetre) { return 20.0 * std::log10(microvoltsPerMetre); }

struct Published {
  double DistanceM;
  Detector Detect;
  std::vector<double> Edges;   // band edges, MHz
  std::vector<double> Values;  // dBuV/m per band
};

// The tables as published: CISPR 32 Tables A.2 to A.5, 47 CFR 15.109(a) and (b).
const std::map<std::string, Published>& PublishedTables() {
  static const std::map<std::string, Published> tables{
      {"cispr32-a-10m", {10, Detector::QuasiPeak, {30, 230, 1000}, {40, 47}}},
      {"cispr32-a-3m", {3, Detector::QuasiPeak, {30, 230, 1000}, {50, 57}}},
      {"cispr32-a-3m-average", {3, Detector::Average, {1000, 3000, 6000}, {56, 60}}},
      {"cispr32-a-3m-peak", {3, Detector::Peak, {1000, 3000, 6000}, {76, 80}}},
      {"cispr32-b-10m", {10, Detector::QuasiPeak, {30, 230, 1000}, {30, 37}}},
      {"cispr32-b-3m", {3, Detector::QuasiPeak, {30, 230, 1000}, {40, 47}}},
      {"cispr32-b-3m-average", {3, Detector::Average, {1000, 3000, 6000}, {50, 54}}},
      {"cispr32-b-3m-peak", {3, Detector::Peak, {1000, 3000, 6000}, {70, 74}}},
      {"fcc15-b-3m", {3, Detector::QuasiPeak, {30, 88, 216, 960, 1000}, {Db(100), Db(150), Db(200), Db(500)}}},
      {"fcc15-b-3m-average", {3, Detector::Average, {1000, 6000}, {Db(500)}}},
      {"fcc15-a-10m", {10, Detector::QuasiPeak, {30, 88, 216, 960, 1000}, {Db(90), Db(150), Db(210), Db(300)}}},
      {"fcc15-a-10m-average", {10, Detector::Average, {1000, 6000}, {Db(300)}}},
  };
  return tables;
}

class SourceTreeData : public ::testing::Test {
protected:
  void SetUp() override { setenv("LUMETRA_DATA", LUMETRA_DATA_DIR, 1); }
  void TearDown() override { unsetenv("LUMETRA_DATA"); }
};

TEST_F(SourceTreeData, EveryShippedLimitHasThePublishedValuesAtAndAroundItsEdges) {
  ASSERT_EQ(ShippedLimitNames().size(), PublishedTables().size());
  for (const std::string& name : ShippedLimitNames()) {
    SCOPED_TRACE(name);
    const Published& table = PublishedTables().at(name);
    const LimitLine limit = ReadLimitFile(LimitFilePath(name));
    EXPECT_EQ(limit.Name, name);
    EXPECT_EQ(limit.DistanceM, table.DistanceM);
    EXPECT_EQ(limit.Detect, table.Detect);
    const double tol = 1e-4;  // the files give the FCC conversions to 4 decimals
    for (std::size_t band = 0; band < table.Values.size(); ++band) {
      const double lo = table.Edges[band], hi = table.Edges[band + 1];
      EXPECT_NEAR(*LimitAt(limit, lo * 1.0001), table.Values[band], tol);
      EXPECT_NEAR(*LimitAt(limit, std::sqrt(lo * hi)), table.Values[band], tol);
      EXPECT_NEAR(*LimitAt(limit, hi * 0.9999), table.Values[band], tol);
    }
    for (std::size_t e = 0; e < table.Edges.size(); ++e) {
      const double edge = table.Edges[e];
      double expected = e < table.Values.size() ? table.Values[e] : table.Values.back();
      if (e > 0 && e < table.Values.size()) expected = std::min(table.Values[e - 1], table.Values[e]);
      if (e == table.Values.size()) expected = table.Values.back();
      ASSERT_TRUE(LimitAt(limit, edge).has_value()) << edge;
      EXPECT_NEAR(*LimitAt(limit, edge), expected, tol) << "at the edge " << edge << " MHz";
    }
    EXPECT_FALSE(LimitAt(limit, table.Edges.front() * 0.999).has_value());
    EXPECT_FALSE(LimitAt(limit, table.Edges.back() * 1.001).has_value());
  }
}

TEST_F(SourceTreeData, ShippedFilesCiteTheirTableAndEndInCrLf) {
  for (const std::string& name : ShippedLimitNames()) {
    const std::string text = testing::ReadBytes(LimitFilePath(name));
    EXPECT_NE(text.find(name.rfind("fcc", 0) == 0 ? "15.109" : "Table A."), std::string::npos) << name;
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << name;
  }
}

TEST(LimitFiles, SearchOrderAndNameChecks) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "limits");
  testing::WriteBytes(dir / "limits/cispr32-b-3m.csv", "distance_m, 5\ndetector, peak\n30, 1000, 1\n");
  setenv("LUMETRA_DATA", dir.path().c_str(), 1);
  EXPECT_EQ(LimitFilePath("cispr32-b-3m"), dir.path() / "limits/cispr32-b-3m.csv");  // a user's copy wins
  EXPECT_EQ(LimitFilePath("fcc15-b-3m"), std::filesystem::path(LUMETRA_DATA_DIR) / "limits/fcc15-b-3m.csv");
  unsetenv("LUMETRA_DATA");
  EXPECT_EQ(LimitFilePath("cispr32-b-3m"), std::filesystem::path(LUMETRA_DATA_DIR) / "limits/cispr32-b-3m.csv");
  for (const char* bad : {"", "../etc/passwd", "a/b", "x y"}) EXPECT_THROW(LimitFilePath(bad), FileError) << bad;
  EXPECT_PRED2(lumetra::testing::Holds,
               lumetra::testing::ErrorText<FileError>([] { LimitFilePath("cispr99"); }),
               "\"cispr99\" was not found in");
}

TEST(LimitLine, DistanceConversionFollowsTheInverseDistanceLaw) {
  const LimitLine limit = ParseLimitText("distance_m, 3\ndetector, quasi-peak\n30, 230, 40\n230, 1000, 47\n",
                                         "lines/cispr32-b-3m.csv");
  const CorrectedLimit at10 = DistanceCorrectedLimit(limit, 10.0);
  EXPECT_NEAR(*LimitAt(at10.Limit, 100.0), 40.0 - 10.4575749, 1e-6);
  EXPECT_NEAR(*LimitAt(at10.Limit, 230.0), 40.0 - 10.4575749, 1e-6);
  EXPECT_EQ(at10.Limit.DistanceM, 10.0);
  EXPECT_EQ(at10.Note,
            "Limit cispr32-b-3m converted from 3 m to 10 m: 20 log10(3/10) = -10.46 dB "
            "(field strength inversely proportional to distance)");
  const CorrectedLimit at1 = DistanceCorrectedLimit(limit, 1.0);
  EXPECT_NEAR(*LimitAt(at1.Limit, 500.0), 47.0 + 9.5424251, 1e-6);
  EXPECT_TRUE(DistanceCorrectedLimit(limit, 3.0).Note.empty());
  EXPECT_THROW(DistanceCorrectedLimit(limit, 0.0), std::invalid_argument);
  // The CISPR 32 class B 10 m line, moved to 3 m, is within rounding the 3 m line.
  const LimitLine at10m = ParseLimitText("distance_m, 10\ndetector, quasi-peak\n30, 230, 30\n230, 1000, 37\n", "b10");
  EXPECT_NEAR(*LimitAt(DistanceCorrectedLimit(at10m, 3.0).Limit, 100.0), 40.0, 0.5);
}

TEST(LimitLine, SlopedSegmentIsLinearInLogFrequency) {
  const LimitLine limit =
      ParseLimitText("distance_m, 3\ndetector, average\nstart_MHz, stop_MHz, limit_dBuV_m, limit_end_dBuV_m\n"
                     "10, 1000, 60, 40\n1000, 2000, 45\n",
                     "slope.csv");
  EXPECT_DOUBLE_EQ(*LimitAt(limit, 10.0), 60.0);
  EXPECT_NEAR(*LimitAt(limit, 100.0), 50.0, 1e-12);
  EXPECT_DOUBLE_EQ(*LimitAt(limit, 1000.0), 40.0);  // the lower side at the edge
  EXPECT_DOUBLE_EQ(*LimitAt(limit, 1500.0), 45.0);
  EXPECT_FALSE(LimitAt(limit, NAN).has_value());
}

TEST(LimitLine, StopFrequencyBeyondTheLimitIsRefused) {
  const LimitLine limit = ParseLimitText("distance_m, 3\ndetector, peak\n30, 1000, 40\n", "x/b3.csv");
  EXPECT_NO_THROW(CheckLimitCovers(limit, 1000.0));
  EXPECT_EQ(lumetra::testing::ErrorText<std::invalid_argument>([&] { CheckLimitCovers(limit, 2000.0); }),
            "Error: The limit line b3 covers 30 to 1000 MHz only; the emission run reaches 2000 MHz");
  EXPECT_THROW(CheckLimitCovers(limit, 500.0, 10.0), std::invalid_argument);
}

void ExpectBad(const std::string& text, const std::string& where, const std::string& what) {
  const std::string message =
      lumetra::testing::ErrorText<FileError>([&] { ParseLimitText(text, "limits/bad.csv"); });
  EXPECT_NE(message.find("limits/bad.csv" + where), std::string::npos) << message;
  EXPECT_NE(message.find(what), std::string::npos) << message;
}

TEST(LimitLine, MalformedFilesNameTheFileAndLine) {
  const std::string head = "distance_m, 3\r\ndetector, peak\r\n";
  ExpectBad(head + "30, 230\r\n", ", line 3:", "expected");
  ExpectBad(head + "30, 230, 40, 41, 42\r\n", ", line 3:", "expected");
  ExpectBad(head + "0, 230, 40\r\n", ", line 3:", "start \"0\"");
  ExpectBad(head + "30, 30, 40\r\n", ", line 3:", "stop \"30\"");
  ExpectBad(head + "30, 230, 40\r\n200, 1000, 47\r\n", ", line 4:", "overlap");
  ExpectBad(head + "30, 230, 400\r\n", ", line 3:", "limit \"400\"");
  ExpectBad(head + "30, 230, inf\r\n", ", line 3:", "limit");
  ExpectBad(head + "30, 230, 40, x\r\n", ", line 3:", "limit \"x\"");
  ExpectBad(head + "30, 230, 40\r\nstart_MHz, stop_MHz, limit_dBuV_m\r\n", ", line 4:", "header");
  ExpectBad("distance_m, -3\ndetector, peak\n30, 230, 40\n", ", line 1:", "distance_m");
  ExpectBad("distance_m, 3\ndistance_m, 3\n", ", line 2:", "twice");
  ExpectBad("distance_m, 3\ndetector, qp\n", ", line 2:", "detector");
  ExpectBad("detector, peak\n30, 230, 40\n", ":", "no \"distance_m\"");
  ExpectBad("distance_m, 3\n30, 230, 40\n", ":", "no \"detector\"");
  ExpectBad(head, ":", "no limit row");
  ExpectBad(head + std::string(5000, '#') + "x\n", ", line 3:", "longer than");
  testing::TempDir dir;
  EXPECT_THROW(ReadLimitFile(dir / "none.csv"), FileError);
}

}  // namespace
}  // namespace lumetra::emission
