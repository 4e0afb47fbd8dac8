// The near field through its files against the textbook Hertzian dipole (x, y and
// z moments, near and far zone), the ground-plane image, the ground-point strips,
// the dialog's checks and messages, several frequencies, abort, and damaged files.
#include "fields/near_field.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "fields/result_readers.h"
#include "model/file_io.h"
#include "tests/fields/near_field_fixtures.h"
#include "tests/support/error_text.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::ClosedFormField;
using testing::Cplx;
using testing::CVec;
using testing::HertzianDipole;
using testing::RecordingUi;
using testing::ResultBlockText;
using testing::TempDir;
using testing::WriteBytes;

constexpr double mm = 1e-3;

struct GridPoint {
  double x, y, z;  // mm
  CVec E, H;
};

// Every point of the block for f of the project's .NFE and .NFH.
std::vector<GridPoint> ReadGrid(const std::filesystem::path& pro, double f) {
  const ResultBlock e = *FindBlock(ProjectFileWithExtension(pro, ".NFE"), f, NearFieldFileFields);
  const ResultBlock h = *FindBlock(ProjectFileWithExtension(pro, ".NFH"), f, NearFieldFileFields);
  EXPECT_EQ(e.Rows(), h.Rows());
  std::vector<GridPoint> points;
  for (std::size_t r = 0; r < e.Rows(); ++r) {
    const double* a = e.Row(r);
    const double* b = h.Row(r);
    EXPECT_EQ(a[0], b[0]);
    EXPECT_EQ(a[2], b[2]);
    GridPoint p{a[0], a[1], a[2], {}, {}};
    for (int i = 0; i < 3; ++i) {
      p.E[i] = {a[3 + 2 * i], a[4 + 2 * i]};
      p.H[i] = {b[3 + 2 * i], b[4 + 2 * i]};
    }
    points.push_back(p);
  }
  return points;
}

// Component-wise agreement relative to the largest component of the vector.
void ExpectVector(const CVec& actual, const CVec& expected, double relative,
                  const std::string& where) {
  double scale = 0;
  for (const Cplx& c : expected) scale = std::max(scale, std::abs(c));
  // A vector that vanishes (H along the dipole's axis) must vanish exactly: every
  // term carries a zero coordinate difference.
  for (int i = 0; i < 3; ++i)
    EXPECT_LE(std::abs(actual[i] - expected[i]), relative * scale)
        << where << " component " << i << ": " << actual[i] << " vs " << expected[i];
}

// E and H of a grid point against a closed form.
void ExpectField(const GridPoint& p, const ClosedFormField& expected, double relative,
                 const std::string& where = "") {
  ExpectVector(p.E, expected.E, relative, where + " E");
  ExpectVector(p.H, expected.H, relative, where + " H");
}

// The grid's entries as typed: start, stop and step along x, then y, then z.
NearFieldGridTexts Grid(std::array<const char*, 9> t) {
  return {t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8]};
}

TEST(NearField, ShortElementInFreeSpaceMatchesTheClosedFormThroughTheFiles) {
  TempDir dir;
  const auto pro = dir / "trace.PRO";
  testing::WriteProject(pro, "0");
  // x, y, dx, dy (mm), I (A/m): moment I dx dy.
  WriteBytes(dir / "trace.XXX", ResultBlockText(1000.0, {{20, 10, 2, 1, 0.3, -0.7}}));
  RecordingUi ui;
  std::vector<std::string> captions;
  const NearFieldGridTexts texts = Grid({"0", "40", "20", "-5", "10", "15", "5", "505", "250"});
  const NearFieldRunResult result = RunNearField(
      pro, texts, std::nullopt, ui, [&](std::string_view c) { captions.emplace_back(c); });
  ASSERT_EQ(result.Outcome, NearFieldRunOutcome::Completed)
      << ::testing::PrintToString(ui.messages);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(result.Points, 3 * 2 * 3);
  EXPECT_EQ(captions, std::vector<std::string>{"Wait! Computing Near-field at 1000 MHz"});

  const Cplx moment = Cplx(0.3, -0.7) * (2 * mm) * (1 * mm);
  const std::vector<GridPoint> grid = ReadGrid(pro, 1000.0);
  ASSERT_EQ(grid.size(), 18u);
  // x outer, y middle, z inner.
  EXPECT_EQ(grid[0].x, 0);
  EXPECT_EQ(grid[1].z, 255);
  EXPECT_EQ(grid[3].y, 10);
  EXPECT_EQ(grid[6].x, 20);
  for (const GridPoint& p : grid) {
    const ClosedFormField expected =
        HertzianDipole(moment, {1, 0, 0}, {0.020, 0.010, 0}, {p.x * mm, p.y * mm, p.z * mm},
                       testing::FreeSpaceK(1000.0), testing::Eta120Pi);
    ExpectField(
        p, expected, 1e-11,
        "(" + std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.z) + ")");
  }
}

// A Jy element 1 mm square at the origin over a ground plane 2 mm down.
struct TraceOverGround {
  TempDir dir;
  std::filesystem::path pro = dir / "gp.PRO";
  Cplx moment = Cplx(1.0, 0.5) * mm * mm;

  explicit TraceOverGround(const std::string& height) {
    testing::WriteProject(pro, height);
    WriteBytes(dir / "gp.YYY", ResultBlockText(500.0, {{0, 0, 1, 1, 1.0, 0.5}}));
    WriteBytes(dir / "gp.XXX", "");
  }
  std::vector<GridPoint> Run(const NearFieldGridTexts& texts) {
    RecordingUi ui;
    EXPECT_EQ(RunNearField(pro, texts, std::nullopt, ui).Outcome, NearFieldRunOutcome::Completed);
    return ReadGrid(pro, 500.0);
  }
};

TEST(NearField, GroundPlaneAddsTheImageTwiceTheHeightDown) {
  TraceOverGround withPlane("2"), without("0");
  NearFieldGridTexts texts;  // a line of points in the board plane, z = 0
  texts.XStart = "-10", texts.XStop = "10", texts.XStep = "5";
  texts.YStart = "3", texts.YStop = "3";
  const std::vector<GridPoint> a = withPlane.Run(texts), b = without.Run(texts);
  ASSERT_EQ(a.size(), 5u);
  const double k = testing::FreeSpaceK(500.0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::array<double, 3> r = {a[i].x * mm, a[i].y * mm, 0.0};
    const ClosedFormField direct =
        HertzianDipole(withPlane.moment, {0, 1, 0}, {0, 0, 0}, r, k, testing::Eta120Pi);
    const ClosedFormField image =
        HertzianDipole(-withPlane.moment, {0, 1, 0}, {0, 0, -4 * mm}, r, k, testing::Eta120Pi);
    ExpectField(a[i], direct + image, 1e-11, "with plane");
    ExpectVector(b[i].E, direct.E, 1e-11, "E without plane");
  }
}

TEST(NearField, GroundPointsRadiateByHalfStripAndVerticalStrip) {
  TempDir dir;
  const auto pro = dir / "gnd.PRO";
  testing::WriteProject(pro, "2");
  const double f = 800.0;
  WriteBytes(dir / "gnd.XXX", ResultBlockText(f, {{50, 50, 1, 1, 0, 0}}));  // carries no current
  // X, Y, signed half size a, b, h, I: a left-edge point (a > 0) and a right-edge
  // point (a < 0); a top-edge point of .ZZY (b < 0).
  WriteBytes(dir / "gnd.ZZX",
             ResultBlockText(f, {{10, 0, 0.5, 1, 2, 0.2, 0.1}, {14, 0, -0.5, 1, 2, -0.3, 0.4}}));
  WriteBytes(dir / "gnd.ZZY", ResultBlockText(f, {{0, 8, 2, -1, 2, 0.05, -0.6}}));
  RecordingUi ui;
  const NearFieldGridTexts texts = Grid({"-20", "35", "25", "-5", "15", "20", "1", "31", "30"});
  ASSERT_EQ(RunNearField(pro, texts, std::nullopt, ui).Outcome, NearFieldRunOutcome::Completed);

  const double k = testing::FreeSpaceK(f), h = 2 * mm, eta = testing::Eta120Pi;
  const auto source = [&](const std::array<double, 3>& r) {
    const auto dipole = [&](Cplx m, const std::array<double, 3>& p, double x, double y, double z) {
      return HertzianDipole(m, p, {x * mm, y * mm, z}, r, k, eta);
    };
    // A horizontal half strip and its reversed image 2h down.
    const auto withImage = [&](Cplx m, const std::array<double, 3>& p, double x, double y) {
      return dipole(m, p, x, y, 0) + dipole(-m, p, x, y, -2 * h);
    };
    const Cplx i1(0.2, 0.1), i2(-0.3, 0.4), i3(0.05, -0.6);
    // .ZZX: half strips along x at X + a/2, moment I |a| b; .ZZY top edge: along y
    // at Y + b/2, moment I a |b|.
    return withImage(i1 * (0.5 * mm) * (1 * mm), {1, 0, 0}, 10.25, 0) +
           withImage(i2 * (0.5 * mm) * (1 * mm), {1, 0, 0}, 13.75, 0) +
           withImage(i3 * (2 * mm) * (1 * mm), {0, 1, 0}, 0, 7.5) +
           // Vertical strips with their images: z dipoles of length 2h at depth h, the
           // sign that of the signed half size, w the size along the edge.
           dipole(i1 * (1 * mm) * (2 * h), {0, 0, 1}, 10, 0, -h) +
           dipole(-i2 * (1 * mm) * (2 * h), {0, 0, 1}, 14, 0, -h) +
           dipole(-i3 * (2 * mm) * (2 * h), {0, 0, 1}, 0, 8, -h);
  };
  const std::vector<GridPoint> grid = ReadGrid(pro, f);
  ASSERT_EQ(grid.size(), 3u * 2u * 2u);
  for (const GridPoint& p : grid) {
    ExpectField(p, source({p.x * mm, p.y * mm, p.z * mm}), 1e-10);
  }
}

// A Jx element 1 mm square at (10, 10) mm, at 100 and 200 MHz with different currents.
struct TwoFrequencyTrace {
  TempDir dir;
  std::filesystem::path pro = dir / "two.PRO";
  TwoFrequencyTrace() {
    testing::WriteProject(pro, "0");
    WriteBytes(dir / "two.XXX", ResultBlockText(100.0, {{10, 10, 1, 1, 1.0, 0.0}}) +
                                    ResultBlockText(200.0, {{10, 10, 1, 1, 0.0, 2.0}}));
    WriteBytes(dir / "two.YYY", "");
  }
};

TEST(NearField, DefaultGridIsOnePointAtTheOriginPerFrequency) {
  TwoFrequencyTrace t;
  RecordingUi ui;
  std::vector<std::string> captions;
  const NearFieldRunResult result = RunNearField(
      t.pro, {}, std::nullopt, ui, [&](std::string_view c) { captions.emplace_back(c); });
  EXPECT_EQ(result.Outcome, NearFieldRunOutcome::Completed);
  EXPECT_EQ(result.Frequencies, 2);
  EXPECT_EQ(result.Points, 1);
  EXPECT_EQ(captions, (std::vector<std::string>{"Wait! Computing Near-field at 100 MHz",
                                                "Wait! Computing Near-field at 200 MHz"}));
  const auto nfe = t.dir / "two.NFE";
  EXPECT_EQ(ScanFrequencies(nfe, NearFieldFileFields), (std::vector<double>{100.0, 200.0}));
  EXPECT_EQ(ScanFrequencies(t.dir / "two.NFH", NearFieldFileFields),
            (std::vector<double>{100.0, 200.0}));
  const std::string text = testing::ReadBytes(nfe);
  EXPECT_EQ(text.substr(0, 29), " 1.00000000000000E+0002 1\r\n 0");
  // Each frequency takes its own block of currents: at 200 MHz the current is 2j,
  // so H is 2j times the 100 MHz value up to the change of k.
  for (double f : {100.0, 200.0}) {
    const GridPoint p = ReadGrid(t.pro, f).at(0);
    EXPECT_EQ(std::tie(p.x, p.y, p.z), std::make_tuple(0.0, 0.0, 0.0));
    const Cplx current = f == 100.0 ? Cplx(1, 0) : Cplx(0, 2);
    const ClosedFormField expected =
        HertzianDipole(current * mm * mm, {1, 0, 0}, {0.01, 0.01, 0}, {0, 0, 0},
                       testing::FreeSpaceK(f), testing::Eta120Pi);
    ExpectField(p, expected, 1e-11);
  }
  // A second run truncates instead of appending.
  ASSERT_EQ(RunNearField(t.pro, {}, std::nullopt, ui).Outcome, NearFieldRunOutcome::Completed);
  EXPECT_EQ(testing::ReadBytes(nfe), text);
}

TEST(NearField, AStopOnTheStepIsAlwaysTheLastColumn) {
  // 0 to 100 mm by 5 mm is 21 columns; stepping 0.005 m twenty times overshoots
  // 0.1 m by a rounding error, so an added-up grid lost the column at 100 mm.
  TwoFrequencyTrace t;
  RecordingUi ui;
  const NearFieldGridTexts texts = Grid({"0", "100", "5", "10", "10.3", "0.1", "0", "0", "10"});
  const NearFieldRunResult result = RunNearField(t.pro, texts, std::nullopt, ui);
  ASSERT_EQ(result.Outcome, NearFieldRunOutcome::Completed);
  EXPECT_EQ(result.Points, 21 * 4);
  const std::vector<GridPoint> grid = ReadGrid(t.pro, 100.0);
  ASSERT_EQ(grid.size(), 21u * 4u);
  EXPECT_EQ(grid.back().x, 100);  // written as typed, not as a metre round trip
  EXPECT_NEAR(grid.back().y, 10.3, 1e-12);
  EXPECT_EQ(grid[4 * 7].x, 35);
}

TEST(NearField, TooCloseWarnsAtTheEndAndStillWritesTheValues) {
  TempDir dir;
  const auto pro = dir / "close.PRO";
  testing::WriteProject(pro, "0");
  WriteBytes(dir / "close.XXX",
             ResultBlockText(100.0, {{0, 0, 1, 1, 1.0, 0.0}, {5, 0, 1, 1, 0.5, 0.0}}));
  RecordingUi ui;
  NearFieldGridTexts texts;
  texts.ZStart = "0.5", texts.ZStop = "0.5";
  ASSERT_EQ(RunNearField(pro, texts, std::nullopt, ui).Outcome, NearFieldRunOutcome::Completed);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Warning: Distance between field point and "
                                                  "structure too small.\r\rResult might not be "
                                                  "reliable!"});
  const GridPoint above = ReadGrid(pro, 100.0).at(0);
  EXPECT_GT(std::abs(above.H[1]), 0.0);

  // 1.5 mm above is clear of both elements: no warning.
  ui.messages.clear();
  texts.ZStart = "1.5", texts.ZStop = "1.5";
  ASSERT_EQ(RunNearField(pro, texts, std::nullopt, ui).Outcome, NearFieldRunOutcome::Completed);
  EXPECT_TRUE(ui.messages.empty());

  // Exactly on the centre of the first element: that element is left out, the
  // field is the second one's alone, finite, and the warning still comes.
  texts.ZStart = "0", texts.ZStop = "0";
  const NearFieldRunResult onCentre = RunNearField(pro, texts, std::nullopt, ui);
  EXPECT_TRUE(onCentre.TooClose);
  EXPECT_EQ(ui.messages.size(), 1u);
  const GridPoint centre = ReadGrid(pro, 100.0).at(0);
  const ClosedFormField second =
      HertzianDipole(Cplx(0.5, 0) * mm * mm, {1, 0, 0}, {5 * mm, 0, 0}, {0, 0, 0},
                     testing::FreeSpaceK(100.0), testing::Eta120Pi);
  ExpectVector(centre.E, second.E, 1e-11, "E on the centre");
}

TEST(NearField, FieldChecksReportTheFirstRefusalWithTheDialogsTexts) {
  TraceOverGround p("2");
  struct Case {
    void (*set)(NearFieldGridTexts&);
    NearFieldEntry field;
    const char* message;
  };
  const Case cases[] = {
      {[](NearFieldGridTexts& t) { t.ZStart = "-2"; }, NearFieldEntry::ZStart,
       "Error: Out of range! Z start value must be greater than -2"},
      {[](NearFieldGridTexts& t) { t.ZStop = "-2.5"; }, NearFieldEntry::ZStop,
       "Error: Out of range! Z stop value must be greater than -2"},
      {[](NearFieldGridTexts& t) { t.XStep = "0"; }, NearFieldEntry::XStep,
       "Error: Out of range! X step value must be greater than 0"},
      {[](NearFieldGridTexts& t) { t.ZStep = "1000000"; }, NearFieldEntry::ZStep,
       "Error: Out of range! Z step value must be smaller than 1000000"},
      {[](NearFieldGridTexts& t) { t.YStop = "1e9"; }, NearFieldEntry::YStop,
       "Error: Out of range! Y stop value must be smaller than 1000000000"},
      {[](NearFieldGridTexts& t) { t.YStep = "ten"; }, NearFieldEntry::YStep,
       "Error: Not a valid real number!"},
      // Only the first refusal speaks.
      {[](NearFieldGridTexts& t) { t.XStop = "x", t.ZStep = "0"; }, NearFieldEntry::XStop,
       "Error: Not a valid real number!"},
  };
  for (const Case& c : cases) {
    NearFieldGridTexts texts;
    c.set(texts);
    RecordingUi ui;
    const NearFieldRunResult result = RunNearField(p.pro, texts, std::nullopt, ui);
    EXPECT_EQ(result.Outcome, NearFieldRunOutcome::Refused) << c.message;
    EXPECT_EQ(result.FocusField, c.field) << c.message;
    EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
  }
  EXPECT_FALSE(std::filesystem::exists(p.dir / "gp.NFE"));

  // Just above the ground plane passes; without a plane z may go far below.
  NearFieldGridTexts texts;
  texts.ZStart = "-1.999";
  RecordingUi ui;
  EXPECT_EQ(RunNearField(p.pro, texts, std::nullopt, ui).Outcome, NearFieldRunOutcome::Completed);
  TraceOverGround free("0");
  texts.ZStart = "-500";
  texts.ZStop = "-10";  // 0 would lie on the trace itself
  EXPECT_EQ(RunNearField(free.pro, texts, std::nullopt, ui).Outcome,
            NearFieldRunOutcome::Completed);
  EXPECT_TRUE(ui.messages.empty()) << (ui.messages.empty() ? "" : ui.messages[0]);
}

TEST(NearField, RefusesWithoutCurrentsAndHugeGrids) {
  TempDir dir;
  const auto pro = dir / "none.PRO";
  testing::WriteProject(pro, "0");
  RecordingUi ui;
  EXPECT_EQ(RunNearField(pro, {}, std::nullopt, ui).Outcome, NearFieldRunOutcome::Refused);
  WriteBytes(dir / "none.XXX", "\r\n");
  WriteBytes(dir / "none.YYY", "");
  EXPECT_EQ(RunNearField(pro, {}, std::nullopt, ui).Outcome, NearFieldRunOutcome::Refused);
  EXPECT_EQ(ui.messages, std::vector<std::string>(
                             2, "There exist no current files, computation cannot be performed!"));

  WriteBytes(dir / "none.XXX", ResultBlockText(100.0, {{0, 0, 1, 1, 1, 0}}));
  ui.messages.clear();
  NearFieldGridTexts texts;
  texts.XStart = "-1e6", texts.XStop = "1e6", texts.XStep = "0.01";
  EXPECT_EQ(RunNearField(pro, texts, std::nullopt, ui).Outcome, NearFieldRunOutcome::Refused);
  // A step too small to move the running sum would never end the loop.
  texts = {};
  texts.XStart = "1e8", texts.XStop = "2e8", texts.XStep = "1e-9";
  EXPECT_EQ(RunNearField(pro, texts, std::nullopt, ui).Outcome, NearFieldRunOutcome::Refused);
  EXPECT_EQ(ui.messages, std::vector<std::string>(2, TooManyPointsMessage));
  EXPECT_FALSE(std::filesystem::exists(dir / "none.NFE"));
}

TEST(NearField, AbortKeepsOnlyTheFrequenciesFinished) {
  TwoFrequencyTrace t;
  NearFieldGridTexts texts;
  texts.XStop = "20";  // three points: five polls each, then one after the frequency
  RecordingUi complete;
  ASSERT_EQ(RunNearField(t.pro, texts, std::nullopt, complete).Outcome,
            NearFieldRunOutcome::Completed);
  EXPECT_EQ(complete.polls, 2 * (3 * 5 + 1));
  const std::string fullNfe = testing::ReadBytes(t.dir / "two.NFE");
  const std::string firstBlock = fullNfe.substr(0, fullNfe.find(" 2.00000000000000E+0002 3"));

  RecordingUi ui;
  ui.abortAfterPolls = 20;  // inside the second frequency
  const NearFieldRunResult result = RunNearField(t.pro, texts, std::nullopt, ui);
  EXPECT_EQ(result.Outcome, NearFieldRunOutcome::Aborted);
  EXPECT_EQ(result.Frequencies, 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(testing::ReadBytes(t.dir / "two.NFE"), firstBlock);
  EXPECT_EQ(ScanFrequencies(t.dir / "two.NFH", NearFieldFileFields), std::vector<double>{100.0});

  RecordingUi early;
  early.abortAfterPolls = 1;  // after the first group of the first point
  EXPECT_EQ(RunNearField(t.pro, texts, std::nullopt, early).Outcome, NearFieldRunOutcome::Aborted);
  EXPECT_EQ(testing::ReadBytes(t.dir / "two.NFE"), "");
  EXPECT_EQ(early.polls, 1);
}

// The reader's own errors are result_readers_test's; here what only the near field
// refuses: a frequency of 0 MHz (k = 0 would divide by zero) and a partner file
// that lacks a frequency of the scanned one.
TEST(NearField, DamagedCurrentFilesAreReportedByFile) {
  const struct {
    std::string xxx, yyy, expected;
  } cases[] = {
      {ResultBlockText(0.0, {{0, 0, 1, 1, 1, 0}}), "", "dmg.XXX\": frequency 0 MHz"},
      {ResultBlockText(100.0, {{0, 0, 1, 1, 1, 0}}) + ResultBlockText(200.0, {{0, 0, 1, 1, 1, 0}}),
       ResultBlockText(100.0, {{0, 0, 1, 1, 1, 0}}), "dmg.YYY\": no results for 200 MHz"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const auto pro = dir / "dmg.PRO";
    testing::WriteProject(pro, "0");
    WriteBytes(dir / "dmg.XXX", c.xxx);
    WriteBytes(dir / "dmg.YYY", c.yyy);
    RecordingUi ui;
    EXPECT_PRED2(testing::Holds,
                 testing::ErrorText<FileError>([&] { RunNearField(pro, {}, std::nullopt, ui); }),
                 c.expected);
  }
}

TEST(NearField, PermittivityOfTheRunSetsTheWavenumber) {
  TempDir dir;
  const auto pro = dir / "eps.PRO";
  testing::WriteProject(pro, "1.6", "4.4");
  EXPECT_DOUBLE_EQ(ProjectEffectivePermittivity(pro), Eps0 * 2.7);
  testing::WriteProject(pro, "0", "4.4");  // no ground plane: no substrate
  EXPECT_DOUBLE_EQ(ProjectEffectivePermittivity(pro), Eps0);
  testing::WriteProject(pro, "1.6", "FR4");
  EXPECT_THROW(ProjectEffectivePermittivity(pro), FileError);

  // A given permittivity wins over the project's; the wavenumber follows it, and so
  // does the wave impedance: E/H in a medium of er = 4 is 120 pi / 2.
  testing::WriteProject(pro, "0");
  WriteBytes(dir / "eps.XXX", ResultBlockText(300.0, {{0, 0, 1, 1, 1, 0}}));
  NearFieldGridTexts texts;
  texts.YStart = texts.YStop = "400";
  RecordingUi ui;
  ASSERT_EQ(RunNearField(pro, texts, Eps0 * 4.0, ui).Outcome, NearFieldRunOutcome::Completed);
  const GridPoint p = ReadGrid(pro, 300.0).at(0);
  const ClosedFormField expected =
      HertzianDipole(Cplx(1e-6, 0), {1, 0, 0}, {0, 0, 0}, {0, 0.4, 0},
                     2.0 * testing::FreeSpaceK(300.0), testing::Eta120Pi / 2.0);
  ExpectField(p, expected, 1e-11, "in eps_eff = 4");
  EXPECT_DOUBLE_EQ(NearFieldWavenumber(300.0, Eps0 * 4.0), 2.0 * testing::FreeSpaceK(300.0));
}

}  // namespace
}  // namespace lumetra
