// Loading the current samples of a computed dipole, choosing the frequency, the
// phase rule, the 3D projection and the label formats.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "model/project_files.h"
#include "plots/current_projection.h"
#include "plots/current_samples.h"
#include "plots/frequency_choice.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::RecordingUi;
using testing::TempDir;

TEST(CurrentPhase, CoversTheFullCircle) {
  EXPECT_DOUBLE_EQ(CurrentPhase(1, 1), 45.0);
  EXPECT_DOUBLE_EQ(CurrentPhase(-1, 1), 135.0);
  EXPECT_DOUBLE_EQ(CurrentPhase(-1, 0), 180.0);
  EXPECT_DOUBLE_EQ(CurrentPhase(-1, -1), -135.0);
  EXPECT_DOUBLE_EQ(CurrentPhase(0, 2), 90.0);
  EXPECT_DOUBLE_EQ(CurrentPhase(0, -2), -90.0);
  EXPECT_DOUBLE_EQ(CurrentPhase(0, 0), 0.0);
}

TEST(SegmentOf, TakesTheLastSegmentHoldingThePointEdgesIncluded) {
  const std::vector<Segment> segments = {{10, 10, 20, 4, 4, 1}, {20, 10, 10, 4, 2, 1}};
  EXPECT_EQ(SegmentOf(segments, 5, 10), 1);
  EXPECT_EQ(SegmentOf(segments, 15, 12), 2);  // on both: the later one
  EXPECT_EQ(SegmentOf(segments, 25, 8), 2);   // corner, closed rectangle
  EXPECT_EQ(SegmentOf(segments, 50, 10), 0);
}

TEST(FormatCurrentMax, DropsTheExponentsLeadingZeros) {
  EXPECT_EQ(FormatCurrentMax(0.001234), "1.234E-3");
  EXPECT_EQ(FormatCurrentMax(12.5), "1.250E+1");
  EXPECT_EQ(FormatCurrentMax(0.0), "0.000E+0");
}

TEST(ChoosePlotFrequency, OneBlockNeedsNoDialogAndCancelIsReported) {
  RecordingUi ui;
  bool asked = false;
  const FrequencyChooser cancel = [&](const std::vector<std::string>&) {
    asked = true;
    return std::optional<std::size_t>{};
  };
  EXPECT_EQ(ChoosePlotFrequency({150.0}, cancel, ui), 150.0);
  EXPECT_FALSE(asked);
  EXPECT_FALSE(ChoosePlotFrequency({100.0, 200.0}, cancel, ui));
  EXPECT_TRUE(asked);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], SelectFrequencyToPlotMessage);
  const FrequencyChooser second = [](const std::vector<std::string>& entries) {
    EXPECT_EQ(entries, (std::vector<std::string>{"100", "200.5"}));
    return std::optional<std::size_t>{1};
  };
  EXPECT_EQ(ChoosePlotFrequency({100.0, 200.5}, second, ui), 200.5);
}

class ComputedDipole : public ::testing::Test {
protected:
  void SetUp() override {
    project = testing::StripDipole(dir, 100, 2, 20);
    testing::Compute(project, testing::LinearSweep(300, 400, 100), ui, dir);
  }
  TempDir dir;
  RecordingUi ui;
  Project project;
};

TEST_F(ComputedDipole, SamplesPeakAtTheCentreAndScaleTo100Pixels) {
  const auto file = PlotFrequencyFile(project.ProjectFile);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->extension(), ".XXX");
  const std::vector<double> f = ScanFrequencies(*file, 6);
  ASSERT_EQ(f.size(), 2u);
  const CurrentSamples s = LoadCurrentSamples(project.ProjectFile, project.Segments, f[1]);
  ASSERT_EQ(s.Jx.size(), 19u);
  EXPECT_TRUE(s.Jy.empty());
  EXPECT_EQ(s.JyMax, 0.0);
  std::size_t peak = 0;
  for (std::size_t i = 0; i < s.Jx.size(); ++i) {
    EXPECT_EQ(s.Jx[i].Segment, 1);
    if (s.Jx[i].Magnitude > s.Jx[peak].Magnitude) peak = i;
  }
  EXPECT_EQ(peak, 9u);  // the fed element in the middle
  EXPECT_DOUBLE_EQ(s.JxMax, s.Jx[9].Magnitude);
  EXPECT_DOUBLE_EQ(s.AmplitudeScale * s.JxMax, 100.0);
  // The ends carry less current than the centre.
  EXPECT_LT(s.Jx.front().Magnitude, 0.5 * s.JxMax);
  // Another frequency gives other currents.
  const CurrentSamples t = LoadCurrentSamples(project.ProjectFile, project.Segments, f[0]);
  EXPECT_NE(t.JxMax, s.JxMax);
}

TEST_F(ComputedDipole, AnXxxWithAnEmptyFirstBlockCountsAsMissing) {
  const auto xxx = ProjectFileWithExtension(project.ProjectFile, ".XXX");
  std::ofstream(xxx, std::ios::trunc) << " 3.0000000000000000E+0002 0\r\n";
  EXPECT_FALSE(IsCurrentFileUsable(xxx));
  EXPECT_FALSE(PlotFrequencyFile(project.ProjectFile));  // .YYY is empty too
}

TEST(ZeroCurrents, GiveAScaleOfZeroAndFlatBars) {
  TempDir dir;
  const auto pro = dir / "z.PRO";
  std::ofstream(ProjectFileWithExtension(pro, ".XXX"))
      << " 1.0000E+0002 2\r\n 1.0 1.0 2.0 2.0 0.0 0.0\r\n 3.0 1.0 2.0 2.0 0.0 0.0\r\n";
  const CurrentSamples s = LoadCurrentSamples(pro, {{2, 1, 4, 2, 3, 1}}, 100);
  ASSERT_EQ(s.Jx.size(), 2u);
  EXPECT_EQ(s.AmplitudeScale, 0.0);
  View3D view;
  const auto bar = SampleBar(view, s.Jx[0], s.AmplitudeScale, 4, 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bar[i].From, bar[i + 4].From);
}

TEST(Projection, StartsAsACavalierViewTurnedByAQuarter) {
  View3D view;
  FitView(view, 801, 1001, 200, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 801 / 400.0);
  EXPECT_EQ(view.PanX, 400);
  EXPECT_EQ(view.PanY, 500);
  // A tall paint area: the height test divides by 4, the assignment by 2.
  FitView(view, 800, 300, 100, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 1.5);
  view = View3D{};
  // z runs straight up.
  EXPECT_EQ(ProjectPoint(view, 0, 0, 10), (ScreenPoint{0, -10}));
  // With no turn about z, y runs to the right and x to the lower left.
  view.RotZ = 0;
  EXPECT_EQ(ProjectPoint(view, 0, 10, 0), (ScreenPoint{10, 0}));
  EXPECT_EQ(ProjectPoint(view, 10, 0, 0), (ScreenPoint{-7, 7}));
  const auto tips = AxisTips(view, {50, 250});
  EXPECT_EQ(tips[2], (ScreenPoint{50, 225}));
}

}  // namespace
}  // namespace lumetra
