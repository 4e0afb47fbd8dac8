// The far field recomputed from the current files: checks and messages, the
// choice of the current file, agreement with the writer, abort and damaged files.
#include "fields/far_field_recompute.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/file_io.h"
#include "tests/fields/result_fixtures.h"
#include "tests/support/error_text.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::RecordingUi;
using testing::TempDir;
using testing::WriteBytes;

// A 2 mm grid layout with one Jx and one Jy element and ground points on a left
// and a bottom edge, "solved" at 100 and 150 MHz.
struct SolvedProject {
  TempDir dir;
  std::filesystem::path pro = dir / "board.PRO";
  ElementLists lists;
  double heightMm;
  std::vector<double> frequencies = {100.0, 150.0};

  explicit SolvedProject(double heightMm, bool withJy = true) : heightMm(heightMm) {
    testing::WriteProject(pro, heightMm > 0 ? "1.6" : "0");
    lists.Charges = {testing::Cell(0.021, 0.011, 0.002, 0.002),
                     testing::Cell(0.023, 0.011, 0.002, 0.002),
                     testing::Cell(0.023, 0.013, 0.002, 0.002)};
    lists.Jx = {testing::Element(0.022, 0.011, 0.002, 0.002)};
    if (withJy) lists.Jy = {testing::Element(0.023, 0.012, 0.002, 0.002)};
    if (heightMm > 0)
      lists.GroundPoints = {testing::EdgePoint(lists, 1, 1), testing::EdgePoint(lists, 3, 4)};
    CreateEmptyResultFiles(pro);
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
      const double f = frequencies[i];
      const bool first = i == 0;
      WriteCurrentFile(dir / "board.XXX", first, f, lists.Jx, Ix(f).data());
      if (withJy) WriteCurrentFile(dir / "board.YYY", first, f, lists.Jy, Iy(f).data());
      if (heightMm > 0) WriteGroundPlaneFiles(pro, first, f, lists, Ground(f).data(), heightMm);
    }
  }
  static std::vector<Complex> Ix(double f) { return {{1.0, f * 1e-3}}; }
  static std::vector<Complex> Iy(double f) { return {{-0.5, 0.25 * f * 1e-2}}; }
  static std::vector<Complex> Ground(double f) { return {{0.3, -0.1}, {f * 1e-3, 0.7}}; }
};

TEST(FarFieldRecompute, AgreesWithTheWriterInFreeSpaceWithTheGroundPlane) {
  SolvedProject p(1.6);
  RecordingUi ui;
  std::vector<std::string> captions;
  FarFieldAngleTexts texts;
  texts.PhiStep = "45";
  const FarFieldRunResult result =
      RecomputeFarField(p.pro, texts, ui, [&](std::string_view c) { captions.emplace_back(c); });
  ASSERT_EQ(result.Outcome, FarFieldRunOutcome::Completed) << ::testing::PrintToString(ui.messages);
  EXPECT_EQ(std::tie(ui.messages, result.Frequencies),
            std::make_tuple(std::vector<std::string>{}, 2));
  EXPECT_EQ(captions, (std::vector<std::string>{"Wait! Computing far-field at 100 MHz",
                                                "Wait! Computing far-field at 150 MHz"}));

  const auto rad = p.dir / "board.RAD";
  ASSERT_EQ(ScanFrequencies(rad, FarFieldFileFields), p.frequencies);
  const FarFieldGrid grid{0, 90, 2, 0, 360, 45};
  for (double f : p.frequencies) {
    const auto expectedFile = p.dir / "expected.RAD";
    const std::vector<Complex> ix = SolvedProject::Ix(f), iy = SolvedProject::Iy(f),
                               ground = SolvedProject::Ground(f);
    const RadiatingCurrents currents =
        CurrentsOfSolution(p.lists, ix.data(), iy.data(), ground.data(), 0.0016);
    ASSERT_TRUE(WriteFarFieldBlock(expectedFile, true, f, currents, FreeSpaceMedium(f, 0.0016),
                                   grid, [] { return false; }));
    const ResultBlock expected = *FindBlock(expectedFile, f, FarFieldFileFields);
    const ResultBlock actual = *FindBlock(rad, f, FarFieldFileFields);
    ASSERT_EQ(actual.Rows(), 46u * 9u);
    ASSERT_EQ(actual.Values.size(), expected.Values.size());
    for (std::size_t i = 0; i < actual.Values.size(); ++i)
      EXPECT_NEAR(actual.Values[i], expected.Values[i],
                  2e-4 * std::fabs(expected.Values[i]) + 1e-30)
          << "value " << i << " at " << f << " MHz";
  }
  // The vertical strips keep the field along the board alive.
  const ResultBlock block = *FindBlock(rad, 100.0, FarFieldFileFields);
  EXPECT_EQ(block.Row(45 * 9)[0], 90.0);
  EXPECT_GT(block.Row(45 * 9)[2], 0.0);
}

TEST(FarFieldRecompute, GroundPlaneKeepsThetaInTheUpperHalfSpace) {
  SolvedProject p(1.6);
  RecordingUi ui;
  FarFieldAngleTexts texts;
  texts.ThetaStop = "90";
  texts.PhiStop = "0";
  EXPECT_EQ(RecomputeFarField(p.pro, texts, ui).Outcome, FarFieldRunOutcome::Completed);

  texts.ThetaStop = "90.2";
  FarFieldRunResult result = RecomputeFarField(p.pro, texts, ui);
  EXPECT_EQ(std::tie(result.Outcome, result.FocusField),
            std::make_tuple(FarFieldRunOutcome::Refused, FarFieldAngle::ThetaStop));
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{
                "Error: Out of range! Far field Theta angle must be smaller than 90.1"}));

  // Only the first refused field reports; the run stops there.
  ui.messages.clear();
  texts.ThetaStart = "-91";
  texts.PhiStep = "0";
  result = RecomputeFarField(p.pro, texts, ui);
  EXPECT_EQ(result.FocusField, FarFieldAngle::ThetaStart);
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{
                "Error: Out of range! Far field Theta angle must be greater than -90.1"}));
}

TEST(FarFieldRecompute, WithoutGroundPlaneThetaMayReachTheLowerHalfSpace) {
  SolvedProject p(0.0);
  RecordingUi ui;
  FarFieldAngleTexts texts;
  texts.ThetaStart = "-180";
  texts.ThetaStop = "180";
  texts.ThetaStep = "90";
  texts.PhiStop = "0";
  ASSERT_EQ(RecomputeFarField(p.pro, texts, ui).Outcome, FarFieldRunOutcome::Completed);
  EXPECT_EQ(FindBlock(p.dir / "board.RAD", 150.0, FarFieldFileFields)->Rows(), 5u);

  const std::pair<void (*)(FarFieldAngleTexts&), std::string> refusals[] = {
      {[](FarFieldAngleTexts& t) { t.ThetaStop = "180.1"; },
       "Error: Out of range! Far field Theta angle must be smaller than 180.1"},
      {[](FarFieldAngleTexts& t) { t.ThetaStep = "0.1"; },
       "Error: Out of range! Far field Theta angle step must be greater than 0.1"},
      {[](FarFieldAngleTexts& t) { t.PhiStop = "-1"; },
       "Error: Out of range! Far field Phi angle must be greater than -0.1"},
      {[](FarFieldAngleTexts& t) { t.PhiStep = "181"; },
       "Error: Out of range! Far field Phi angle step must be smaller than 180.1"},
      {[](FarFieldAngleTexts& t) { t.PhiStep = "ten"; }, "Error: Not a valid real number!"},
  };
  for (const auto& [change, message] : refusals) {
    FarFieldAngleTexts bad;
    change(bad);
    ui.messages.clear();
    EXPECT_EQ(RecomputeFarField(p.pro, bad, ui).Outcome, FarFieldRunOutcome::Refused);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{message}));
  }
}

TEST(FarFieldRecompute, EmptyCurrentFilesAreRefusedBeforeAnythingElse) {
  TempDir dir;
  const auto pro = dir / "new.PRO";
  testing::WriteProject(pro, "not a number");  // never read
  RecordingUi ui;
  FarFieldAngleTexts texts;
  texts.ThetaStep = "0";  // never checked
  EXPECT_EQ(RecomputeFarField(pro, texts, ui).Outcome, FarFieldRunOutcome::Refused);
  CreateEmptyResultFiles(pro);
  EXPECT_EQ(RecomputeFarField(pro, texts, ui).Outcome, FarFieldRunOutcome::Refused);
  EXPECT_EQ(ui.messages, (std::vector<std::string>(2, NoCurrentFilesText)));
  EXPECT_EQ(std::string(NoCurrentFilesText),
            "There exist no current files, computation cannot be performed!");
  EXPECT_FALSE(std::filesystem::exists(dir / "new.RAD"));
}

TEST(FarFieldRecompute, JxOnlyLayoutTakesItsFrequenciesFromXxx) {
  SolvedProject p(0.0, /*withJy=*/false);
  ASSERT_EQ(ReadBytes(p.dir / "board.YYY"), "");
  WriteBytes(p.dir / "board.RAD", "stale pattern of another run\r\n");
  RecordingUi ui;
  FarFieldAngleTexts texts;
  texts.PhiStop = "0";
  ASSERT_EQ(RecomputeFarField(p.pro, texts, ui).Outcome, FarFieldRunOutcome::Completed);
  // The first frequency truncated the old file.
  EXPECT_EQ(ScanFrequencies(p.dir / "board.RAD", FarFieldFileFields), p.frequencies);
  // The lone x-directed element: no phi component at phi = 0.
  const ResultBlock block = *FindBlock(p.dir / "board.RAD", 100.0, FarFieldFileFields);
  EXPECT_GT(block.Row(0)[2], 0.0);
  EXPECT_EQ(block.Row(0)[3], 0.0);
}

TEST(FarFieldRecompute, AbortStopsTheRunWithThePatternWhereItStood) {
  SolvedProject p(1.6);
  RecordingUi ui;
  ui.abortAfterPolls = 6 * 46 + 1;  // six sources: the first block, then one poll more
  FarFieldAngleTexts texts;
  texts.PhiStop = "0";
  const FarFieldRunResult result = RecomputeFarField(p.pro, texts, ui);
  EXPECT_EQ(std::tie(result.Outcome, result.Frequencies, ui.messages),
            std::make_tuple(FarFieldRunOutcome::Aborted, 1, std::vector<std::string>{}));
  // The unfinished second block is taken back: the file holds the first one whole.
  std::string tail;
  EXPECT_EQ(ScanFrequencies(p.dir / "board.RAD", FarFieldFileFields, &tail),
            std::vector<double>{100.0});
  EXPECT_EQ(tail, "");
  EXPECT_EQ(FirstBlockAtOrAbove(p.dir / "board.RAD", 100.0, FarFieldFileFields)->Rows(), 46u);
}

TEST(FarFieldRecompute, DamagedFilesAreFileErrors) {
  SolvedProject p(1.6);
  RecordingUi ui;
  const FarFieldAngleTexts texts;
  {
    // A run killed while it wrote the 150 MHz ground points: the pattern of 100 MHz
    // is computed from the blocks that are whole, with one warning.
    const std::string good = ReadBytes(p.dir / "board.ZZX");
    WriteBytes(p.dir / "board.ZZX", good.substr(0, good.size() - 30));
    RecordingUi cut;
    const FarFieldRunResult result = RecomputeFarField(p.pro, texts, cut);
    EXPECT_EQ(std::tie(result.Outcome, result.Frequencies, cut.messages),
              std::make_tuple(FarFieldRunOutcome::Completed, 1,
                              std::vector{DamagedTailWarning((p.dir / "board.ZZX").string(), 3)}));
    EXPECT_EQ(ScanFrequencies(p.dir / "board.RAD", FarFieldFileFields),
              std::vector<double>{100.0});
    // Damage before the last block stays an error.
    const std::size_t lineTwo = good.find('\n') + 1, lineThree = good.find('\n', lineTwo) + 1;
    WriteBytes(p.dir / "board.ZZX",
               good.substr(0, lineTwo) + "1 2\r\n" + good.substr(lineThree));
    EXPECT_THROW(RecomputeFarField(p.pro, texts, ui), FileError);
    WriteBytes(p.dir / "board.ZZX", good);
  }
  {
    // .YYY ends before 150 MHz: the partner of a listed frequency is missing.
    const std::string good = ReadBytes(p.dir / "board.YYY");
    WriteBytes(p.dir / "board.YYY", "100 1\n1 2 3 4 5 6\n");
    EXPECT_THROW(RecomputeFarField(p.pro, texts, ui), FileError);  // nothing at 150 MHz
    WriteBytes(p.dir / "board.YYY", good);
  }
  testing::WriteProject(p.pro, "2mm");
  EXPECT_PRED2(testing::Holds,
               testing::ErrorText<FileError>([&] { RecomputeFarField(p.pro, texts, ui); }), "line 7");
  WriteBytes(p.pro, "short\r\n");
  EXPECT_THROW(RecomputeFarField(p.pro, texts, ui), FileError);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace lumetra
