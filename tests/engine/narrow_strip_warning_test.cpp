// The warning about traces one cell wide over a ground plane: once per run after
// the checks, with its exact text, and only where the width sets the result.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/project_files.h"
#include "studies/narrow_strip_warning.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::RecordingUi;
using testing::SingleFrequency;
using testing::StripDipole;
using testing::TempDir;

int Count(const RecordingUi& ui, const char* text) {
  return static_cast<int>(std::count(ui.messages.begin(), ui.messages.end(), text));
}

TEST(NarrowStripWarning, WhichSegmentsAreStrips) {
  Project p;
  EXPECT_FALSE(HasOneCellWideStrip(p));
  p.Segments = {{10, 10, 2, 2, 1, 1}};  // a square pad
  EXPECT_FALSE(HasOneCellWideStrip(p));
  p.Segments.push_back({20, 10, 10, 2, 5, 3});  // three cells across
  EXPECT_FALSE(HasOneCellWideStrip(p));
  p.Segments.push_back({30, 20, 2, 10, 1, 5});  // along y, one cell across
  EXPECT_TRUE(HasOneCellWideStrip(p));
  p.Segments.back() = {30, 20, 10, 2, 5, 1};     // along x, one cell across
  EXPECT_TRUE(HasOneCellWideStrip(p));
}

TEST(NarrowStripWarning, OnceAfterTheChecksOverAGroundPlaneInStandardAccuracy) {
  TempDir dir;
  Project strip = StripDipole(dir, 80, 2, 40);
  strip.Env.GroundPlane = true;
  strip.Env.GPHeight = "1.6";
  ComputationSettings sweep = testing::LinearSweep(100, 300, 100);
  RecordingUi ui;
  EXPECT_EQ(Compute(strip, sweep, ui, dir).Points.size(), 3u);
  EXPECT_EQ(ui.messages, std::vector<std::string>{NarrowStripWarning});
  // High accuracy carries the edge-singular current across such strips: no warning.
  sweep.Accuracy = SolverAccuracy::High;
  RecordingUi high;
  EXPECT_EQ(Compute(strip, sweep, high, dir).Points.size(), 3u);
  EXPECT_EQ(Count(high, NarrowStripWarning), 0);

  // A refused check comes first and nothing follows it.
  RecordingUi refused;
  strip.Env.GPHeight = "-1";
  Compute(strip, sweep, refused, dir);
  EXPECT_TRUE(Count(refused, NarrowStripWarning) == 0 && !refused.messages.empty());

  // In free space the width hardly moves a radiator's resonance: no warning.
  strip.Env.GroundPlane = false;
  RecordingUi free;
  Compute(strip, SingleFrequency(300), free, dir);
  EXPECT_TRUE(free.messages.empty()) << free.messages.front();
}

TEST(NarrowStripWarning, NotForTracesSeveralCellsWide) {
  TempDir dir;
  Project strip = StripDipole(dir, 80, 3, 40);
  strip.Segments[0].ChY = 3;
  strip.VoltageSources.clear();
  strip.Env.GroundPlane = true;
  strip.Env.GPHeight = "1.6";
  SaveProjectFiles(strip, strip.ProjectFile);
  RecordingUi ui;
  Compute(strip, SingleFrequency(300), ui, dir);
  EXPECT_EQ(Count(ui, NarrowStripWarning), 0);
}

}  // namespace
}  // namespace lumetra
