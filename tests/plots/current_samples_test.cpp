// Loading the current samples of a computed dipole, choosing the frequency, the
// phase rule, the 3D projection and the label formats.
#include "plots/current_samples.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <utility>
#include <vector>

#include "model/project_files.h"
#include "plots/current_projection.h"
#include "plots/frequency_choice.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/support/expect_values.h"

namespace lumetra {
namespace {

using testing::RecordingUi;
using testing::TempDir;

TEST(CurrentPhase, CoversTheFullCircle) {
  std::vector<double> phases;
  for (auto [re, im] : {std::pair{1, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, 2}, {0, -2}, {0, 0}})
    phases.push_back(CurrentPhase(re, im));
  testing::ExpectDoublesEq(phases, {45.0, 135.0, 180.0, -135.0, 90.0, -90.0, 0.0});
}

TEST(SegmentOf, TakesTheLastSegmentHoldingThePointEdgesIncluded) {
  const std::vector<Segment> segments = {{10, 10, 20, 4, 4, 1}, {20, 10, 10, 4, 2, 1}};
  // (15, 12) lies on both: the later one; (25, 8) on a corner of the closed rectangle.
  EXPECT_EQ(std::make_tuple(SegmentOf(segments, 5, 10), SegmentOf(segments, 15, 12),
                            SegmentOf(segments, 25, 8), SegmentOf(segments, 50, 10)),
            std::make_tuple(1, 2, 2, 0));
}

TEST(FormatCurrentMax, DropsTheExponentsLeadingZeros) {
  EXPECT_EQ(FormatCurrentMax(0.001234) + " " + FormatCurrentMax(12.5) + " " + FormatCurrentMax(0.0),
            "1.234E-3 1.250E+1 0.000E+0");
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
  EXPECT_EQ(ui.messages, std::vector<std::string>{SelectFrequencyToPlotMessage});
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
  EXPECT_TRUE(s.Jy.empty() && s.JyMax == 0.0);
  std::size_t peak = 0;
  for (std::size_t i = 0; i < s.Jx.size(); ++i) {
    EXPECT_EQ(s.Jx[i].Segment, 1);
    if (s.Jx[i].Magnitude > s.Jx[peak].Magnitude) peak = i;
  }
  EXPECT_EQ(peak, 9u);  // the fed element in the middle
  testing::ExpectDoublesEq({s.JxMax, s.AmplitudeScale * s.JxMax}, {s.Jx[9].Magnitude, 100.0});
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
  EXPECT_EQ(std::tie(view.PanX, view.PanY), std::make_tuple(400, 500));
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
