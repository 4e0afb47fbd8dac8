// The plot utility's data: every file kind read into the curves, titles and list
// entries the window shows, the questions in their order, exact matching of the
// chosen coordinate, and damaged, empty and missing files.
#include "fields/plot_cuts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fields/complex_phase.h"
#include "fields/near_field.h"
#include "fields/result_files.h"
#include "model/file_io.h"
#include "tests/fields/result_fixtures.h"
#include "tests/support/recording_ui.h"
#include "tests/support/error_text.h"

namespace lumetra {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// Answers the questions from a script of entry texts and records what was asked.
struct ScriptedQuestions {
  explicit ScriptedQuestions(std::vector<std::string> script = {},
                             std::optional<PatternCutKind> cutKind = std::nullopt)
      : answers(std::move(script)), cut(cutKind) {}

  std::vector<std::string> answers;  // entry texts, in the order of the questions
  std::optional<PatternCutKind> cut;
  std::vector<std::string> asked;
  std::vector<std::vector<std::string>> entries;
  std::size_t next = 0;

  PlotQuestions Questions() {
    PlotQuestions q;
    q.Choose = [this](const std::string& question,
                      const std::vector<std::string>& list) -> std::optional<std::size_t> {
      asked.push_back(question);
      entries.push_back(list);
      if (next >= answers.size()) return std::nullopt;
      const auto it = std::find(list.begin(), list.end(), answers[next++]);
      if (it == list.end()) return std::nullopt;
      return static_cast<std::size_t>(it - list.begin());
    };
    q.ChooseCut = [this] {
      asked.push_back("cut");
      return cut;
    };
    return q;
  }
};

std::vector<double> Xs(const PlotCurve& c) { return c.X; }
std::vector<double> Ys(const PlotCurve& c) { return c.Y; }
// The values of the first n curves: real part, imaginary part, magnitude, phase.
std::vector<std::vector<double>> Ys(const PlotCurves& c, std::size_t n) {
  std::vector<std::vector<double>> ys;
  for (std::size_t k = 0; k < n && k < c.Series.size(); ++k) ys.push_back(c.Series[k].Y);
  return ys;
}
using Table = std::vector<std::vector<double>>;
// The plot's title and its bottom axis title, joined by a bar.
std::string Titles(const PlotCurves& c) { return c.Title + "|" + c.BottomAxisTitle; }

// Jx elements at y = 5 mm (x = 10, 12, 14), at y = 7 mm (x = 10) and one at a y
// that differs from 5 mm only in the 15th digit; two frequencies. The current of
// element n at f is (n + 1, -f / 100) A/m.
std::filesystem::path JxFile(const TempDir& dir) {
  const auto xxx = dir / "board.XXX";
  const std::vector<CurrentCell> jx = {
      testing::Element(0.010, 0.005, 0.002, 0.001), testing::Element(0.012, 0.005, 0.002, 0.001),
      testing::Element(0.010, 0.007, 0.002, 0.001), testing::Element(0.014, 0.005, 0.002, 0.001),
      testing::Element(0.016, 0.00500000000000001, 0.002, 0.001)};
  bool first = true;
  for (double f : {100.0, 250.5}) {
    std::vector<Complex> currents;
    for (std::size_t n = 0; n < jx.size(); ++n)
      currents.push_back({static_cast<double>(n + 1), -f / 100});
    WriteCurrentFile(xxx, first, f, jx, currents.data());
    first = false;
  }
  return xxx;
}

TEST(PlotCuts, JxCurrentsAlongARowAtTheChosenFrequency) {
  TempDir dir;
  const auto xxx = JxFile(dir);
  ScriptedQuestions script{{"250.5", "5"}};
  testing::RecordingUi ui;
  const std::optional<PlotCurves> curves = PlotResultFile(xxx, script.Questions(), ui);
  ASSERT_TRUE(curves);
  EXPECT_EQ(script.asked, (std::vector<std::string>{"Frequency [MHz]:", "Constant coordinate:"}));
  EXPECT_EQ(script.entries[0], (std::vector<std::string>{"100", "250.5"}));
  // Distinct centre y values of the first block in file order, exact equality.
  EXPECT_EQ(script.entries[1], (std::vector<std::string>{"5", "7", "5.00000000000001"}));
  // Only the elements exactly at y = 5: the one 1e-14 above it is left out.
  EXPECT_EQ(Xs(curves->Series[0]), (std::vector<double>{10, 12, 14}));
  EXPECT_EQ(Ys(*curves, 2), (Table{{1, 2, 4}, {-2.505, -2.505, -2.505}}));
  EXPECT_DOUBLE_EQ(curves->Series[2].Y[1], std::hypot(2.0, 2.505));
  EXPECT_DOUBLE_EQ(curves->Series[3].Y[0], CurrentPhase(1, -2.505));
  for (const PlotCurve& c : curves->Series) EXPECT_EQ(c.X, curves->Series[0].X);
  EXPECT_EQ(Titles(*curves), "Jx current density [A/m] @ 250.5 MHz|Coordinate [mm]");
  EXPECT_TRUE(ui.messages.empty());

  ScriptedQuestions other{{"100", "5.00000000000001"}};
  const std::optional<PlotCurves> single = PlotResultFile(xxx, other.Questions(), ui);
  ASSERT_TRUE(single);
  EXPECT_EQ(Xs(single->Series[0]), (std::vector<double>{16}));
  EXPECT_EQ(single->Title, "Jx current density [A/m] @ 100 MHz");
}

TEST(PlotCuts, JyCurrentsKeepTheCentreXAndRunAlongY) {
  TempDir dir;
  const auto yyy = dir / "board.yyy";
  const std::vector<CurrentCell> jy = {testing::Element(0.003, 0.004, 0.001, 0.002),
                                       testing::Element(0.003, 0.002, 0.001, 0.002),
                                       testing::Element(0.009, 0.004, 0.001, 0.002)};
  const Complex currents[] = {{-1, 0}, {0, -3}, {5, 5}};
  WriteCurrentFile(yyy, true, 1800, jy, currents);
  ScriptedQuestions script{{"1800", "3"}};
  testing::RecordingUi ui;
  const std::optional<PlotCurves> curves = PlotResultFile(yyy, script.Questions(), ui);
  ASSERT_TRUE(curves);
  EXPECT_EQ(script.entries[1], (std::vector<std::string>{"3", "9"}));
  EXPECT_EQ(Xs(curves->Series[0]), (std::vector<double>{4, 2}));
  EXPECT_EQ(Ys(*curves, 4), (Table{{-1, 0}, {0, -3}, {1, 3}, {180, -90}}));
  EXPECT_EQ(curves->Title, "Jy current density [A/m] @ 1800 MHz");
}

// A .RAD of two frequencies over theta 0, 45, 90 and phi 0, 90 (R13, as the
// far-field writer formats its lines); Etheta = theta + phi, Ephi = 1.
std::filesystem::path RadFile(const TempDir& dir) {
  const auto rad = dir / "board.RAD";
  bool first = true;
  for (double f : {900.0, 1800.0}) {
    std::string block;
    WriteResultHeader(block, f, 6);
    for (double theta : {0.0, 45.0, 90.0})
      for (double phi : {0.0, 90.0})
        block += FormatR13(theta) + " " + FormatR13(phi) + " " + FormatR13(theta + phi + f) + " " +
                 FormatR13(1.0) + "\r\n";
    WriteResultBlock(rad, first, block);
    first = false;
  }
  return rad;
}

TEST(PlotCuts, PatternCutsAgainstTheOtherAngle) {
  TempDir dir;
  const auto rad = RadFile(dir);
  testing::RecordingUi ui;

  ScriptedQuestions theta{{"1800", "45"}, PatternCutKind::ThetaConstant};
  std::optional<PlotCurves> curves = PlotResultFile(rad, theta.Questions(), ui);
  ASSERT_TRUE(curves);
  EXPECT_EQ(theta.asked,
            (std::vector<std::string>{"Frequency [MHz]:", "cut", "Constant Theta angle:"}));
  EXPECT_EQ(theta.entries[1], (std::vector<std::string>{"0", "45", "90"}));
  EXPECT_EQ(Xs(curves->Series[0]), (std::vector<double>{0, 90}));
  EXPECT_EQ(Ys(*curves, 2), (Table{{1845, 1935}, {1, 1}}));
  EXPECT_DOUBLE_EQ(curves->Series[2].Y[0], std::hypot(1845.0, 1.0));
  EXPECT_TRUE(curves->Series[3].X.empty());
  EXPECT_EQ(Titles(*curves), "Normalised radiation pattern [V], Theta=45 @ 1800 MHz|Phi [deg.]");

  ScriptedQuestions phi{{"900", "90"}, PatternCutKind::PhiConstant};
  curves = PlotResultFile(rad, phi.Questions(), ui);
  ASSERT_TRUE(curves);
  EXPECT_EQ(phi.asked.back(), "Constant Phi angle:");
  EXPECT_EQ(phi.entries[1], (std::vector<std::string>{"0", "90"}));
  EXPECT_EQ(Xs(curves->Series[0]), (std::vector<double>{0, 45, 90}));
  EXPECT_EQ(Ys(curves->Series[0]), (std::vector<double>{990, 1035, 1080}));
  EXPECT_EQ(Titles(*curves), "Normalised radiation pattern [V], Phi=90 @ 900 MHz|Theta [deg.]");

  // No cut kind chosen: nothing is plotted and nothing more is asked.
  ScriptedQuestions none{{"900"}, std::nullopt};
  EXPECT_FALSE(PlotResultFile(rad, none.Questions(), ui));
  EXPECT_EQ(none.asked.size(), 2u);
}

// A near-field grid x 0..10 step 10, y 0..5 step 5, z 1 and 2; component k of a
// point is (x + 10 k, y - z).
std::filesystem::path NearFile(const TempDir& dir, const char* name) {
  const auto file = dir / name;
  std::string block;
  WriteResultHeader(block, 300, 8);
  for (double x : {0.0, 10.0})
    for (double y : {0.0, 5.0})
      for (double z : {1.0, 2.0})
        block += NearFieldLine(x, y, z, {x, y - z}, {x + 10, y - z}, {x + 20, y - z});
  WriteResultBlock(file, true, block);
  return file;
}

TEST(PlotCuts, NearFieldComponentAlongACoordinate) {
  TempDir dir;
  testing::RecordingUi ui;
  ScriptedQuestions alongY{{"300", "Ey field component", "Along Y-coordinate", "10", "2"}};
  std::optional<PlotCurves> curves =
      PlotResultFile(NearFile(dir, "board.NFE"), alongY.Questions(), ui);
  ASSERT_TRUE(curves);
  EXPECT_EQ(alongY.asked, (std::vector<std::string>{"Frequency [MHz]:", "Select field component",
                                                    "Select plot variable", "Constant X-coordinate",
                                                    "Constant Z-coordinate"}));
  EXPECT_EQ(alongY.entries[1], (std::vector<std::string>{"Ex field component", "Ey field component",
                                                         "Ez field component"}));
  EXPECT_EQ(alongY.entries[2], (std::vector<std::string>{"Along X-coordinate", "Along Y-coordinate",
                                                         "Along Z-coordinate"}));
  EXPECT_EQ(alongY.entries[3], (std::vector<std::string>{"0", "10"}));
  EXPECT_EQ(alongY.entries[4], (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Xs(curves->Series[0]), (std::vector<double>{0, 5}));
  EXPECT_EQ(Ys(*curves, 2), (Table{{20, 20}, {-2, 3}}));
  EXPECT_DOUBLE_EQ(curves->Series[2].Y[1], std::hypot(20.0, 3.0));
  EXPECT_DOUBLE_EQ(curves->Series[3].Y[0], CurrentPhase(20, -2));
  EXPECT_EQ(Titles(*curves), "Electric field, Ey, [V/m] @ 300 MHz|Y [mm]");

  ScriptedQuestions alongZ{{"300", "Hz field component", "Along Z-coordinate", "0", "5"}};
  curves = PlotResultFile(NearFile(dir, "board.NFH"), alongZ.Questions(), ui);
  ASSERT_TRUE(curves);
  EXPECT_EQ(std::vector(alongZ.asked.begin() + 3, alongZ.asked.end()),
            (std::vector<std::string>{"Constant X-coordinate", "Constant Y-coordinate"}));
  EXPECT_EQ(Xs(curves->Series[0]), (std::vector<double>{1, 2}));
  EXPECT_EQ(Ys(*curves, 2), (Table{{20, 20}, {4, 3}}));
  EXPECT_EQ(Titles(*curves), "Magnetic field, Hz, [A/m] @ 300 MHz|Z [mm]");
}

TEST(PlotCuts, CurrentSweepSkipsTheFreeTextAndReadsFiveColumns) {
  TempDir dir;
  const auto dat = dir / "element.DAT";
  WriteBytes(dat,
             "Current in element 12 of board.PRO\r\n"
             "100 1.5 -2 2.5 -53.13\r\n"
             "  200\t-1E-3 0 0.001 180\r\n"
             "\r\n");
  testing::RecordingUi ui;
  ScriptedQuestions none;
  const std::optional<PlotCurves> curves = PlotResultFile(dat, none.Questions(), ui);
  ASSERT_TRUE(curves);
  EXPECT_TRUE(none.asked.empty());
  EXPECT_EQ(Xs(curves->Series[3]), (std::vector<double>{100, 200}));
  EXPECT_EQ(Ys(*curves, 4), (Table{{1.5, -1e-3}, {-2, 0}, {2.5, 0.001}, {-53.13, 180}}));
  EXPECT_EQ(Titles(*curves), "Current density [A/m]|Frequency [MHz]");
}

TEST(PlotCuts, DamagedCurrentSweepLineIsReportedWithFileAndLine) {
  const auto message = [](std::string_view content) {
    return testing::ErrorText<FileError>([&] { ParseCurrentSweep(content, "sweep.DAT"); });
  };
  const std::pair<const char*, const char*> cases[] = {
      {"title\n1 2 3 4 5\n1 2 x 4 5\n", "3: number expected, found \"x\""},
      {"title\r\n1 2 3 4 5\r\n1 2 3 4\r\n", "3: five numbers expected, found 4"},
      {"title\n\n1 2 3 4 5 6\n", "3: five numbers expected, found 6"},
      {"title\n1 2 3 4 nan\n", "2: number expected, found \"nan\""},
  };
  for (const auto& [content, error] : cases)
    EXPECT_EQ(message(content), std::string("Error in file \"sweep.DAT\", line ") + error);
  // Only the free text, or nothing at all: no points.
  EXPECT_TRUE(ParseCurrentSweep("title only", "s.DAT").Series[0].X.empty());
  EXPECT_TRUE(ParseCurrentSweep("", "s.DAT").Series[0].X.empty());
}

TEST(PlotCuts, EmptyFileSaysThereIsNoDataAndMissingFileThrows) {
  TempDir dir;
  testing::RecordingUi ui;
  WriteBytes(dir / "empty.XXX", "");
  ScriptedQuestions script{{"1"}};
  EXPECT_FALSE(PlotResultFile(dir / "empty.XXX", script.Questions(), ui));
  EXPECT_TRUE(script.asked.empty());
  EXPECT_EQ(ui.messages, (std::vector<std::string>{PlotUtilityNoDataMessage}));

  EXPECT_THROW(PlotResultFile(dir / "absent.RAD", script.Questions(), ui), FileError);
  EXPECT_THROW(PlotResultFile(dir / "absent.DAT", script.Questions(), ui), FileError);
  // A damaged block is the reader's FileError too.
  WriteBytes(dir / "bad.NFE", " 1.0E+0002 2\r\n1 2 3 4 5 6 7 8 9\r\n 2.0E+0002 1\r\n1 2 3\r\n");
  EXPECT_THROW(PlotResultFile(dir / "bad.NFE", script.Questions(), ui), FileError);
  // An extension the utility does not plot: nothing, silently.
  ui.messages.clear();
  EXPECT_FALSE(PlotResultFile(dir / "empty.PRO", script.Questions(), ui));
  EXPECT_TRUE(ui.messages.empty());
}

TEST(PlotCuts, DistinctValuesKeepFileOrderAndCompareExactly) {
  ResultBlock block;
  block.FieldsPerLine = 2;
  block.Values = {3, 0, 1, 0, 3, 0, 0.1 + 0.2, 0, 0.3, 0, 1, 0};
  EXPECT_EQ(DistinctValues(block, 0), (std::vector<double>{3, 1, 0.1 + 0.2, 0.3}));
  EXPECT_EQ(DistinctValues(block, 1), (std::vector<double>{0}));
  EXPECT_TRUE(DistinctValues(block, 2).empty());
  EXPECT_EQ(PlotListEntries({0.1, 2.5e-7, 1e15}),
            (std::vector<std::string>{"0.1", "2.5E-7", "1E15"}));
}

}  // namespace
}  // namespace lumetra
