// A sweep with several points in flight writes the files, readings and messages of
// the one-at-a-time run, and an Abort leaves only whole blocks of its first points.
#include <gtest/gtest.h>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/project_files.h"
#include "studies/concurrent_points.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::ReadBytes;
using testing::RecordingUi;
using testing::SingleFrequency;
using testing::TempDir;

// A strip along x and a small plane beside it (Jx and Jy unknowns), fed on the strip.
Project StripAndPlane(const TempDir& dir, bool slab) {
  Project p;
  p.ProjectFile = (dir / "pair.PRO").string();
  p.PcbLx = 200;
  p.PcbLy = 100;
  p.Segments = {{100, 50, 40, 2, 20, 1}, {100, 60, 8, 8, 4, 4}};
  p.VoltageSources = {{100, 50, 2, 2, 1.0, 0.0, true, 10}};
  p.Env.GroundPlane = slab;
  p.Env.GPHeight = "1.6";
  p.Env.DielConst = slab ? "4.4" : "1";
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

ComputationSettings Sweep(int jobs, bool farField) {
  ComputationSettings s = SingleFrequency(0);
  s.SweepFreq = true;
  s.StartFreq = "500";
  s.StopFreq = "6500";
  s.StepFreq = "1000";
  s.FarField = farField;
  s.ThetaStep = "10";
  s.PhiStep = "45";
  // Fitted every third point: points 4 to 6 reuse the fit at 3500 MHz.
  s.RigSol = false;
  s.EffectivePermittivity = {EffectivePermittivityModel::ApproximateEvery, 3};
  s.Jobs = jobs;
  return s;
}

struct SweepOutcome {
  std::vector<std::string> Files;  // .XXX .YYY .ZZX .ZZY .RAD
  std::vector<double> EpsEff;
  std::vector<std::string> Messages;
};

SweepOutcome RunSweep(Project& project, const ComputationSettings& settings, const TempDir& dir) {
  RecordingUi ui;
  const ComputationReport report = Compute(project, settings, ui, dir);
  EXPECT_FALSE(report.Aborted);
  SweepOutcome out;
  for (const auto& file : ComputationResultFiles(project.ProjectFile, true))
    out.Files.push_back(ReadBytes(file));
  for (const FrequencyPointResult& point : report.Points) out.EpsEff.push_back(point.EpsEff);
  out.Messages = ui.messages;
  return out;
}

TEST(ConcurrentSweep, WritesTheFilesOfTheOneAtATimeRunByteForByte) {
  for (const bool slab : {false, true}) {
    TempDir dir;
    Project project = StripAndPlane(dir, slab);
    const SweepOutcome serial = RunSweep(project, Sweep(1, !slab), dir);
    ASSERT_EQ(serial.EpsEff.size(), 7u);
    ASSERT_EQ(ScanFrequencies(dir / "pair.YYY", CurrentFileFields).size(), 7u);
    if (slab) {
      EXPECT_TRUE(serial.EpsEff[4] == serial.EpsEff[3] && serial.EpsEff[3] != serial.EpsEff[2]);
    }
    for (const int jobs : {2, 3}) {
      const SweepOutcome concurrent = RunSweep(project, Sweep(jobs, !slab), dir);
      for (std::size_t f = 0; f < serial.Files.size(); ++f)
        EXPECT_TRUE(concurrent.Files[f] == serial.Files[f]) << "file " << f << ", jobs " << jobs;
      EXPECT_EQ(concurrent.EpsEff, serial.EpsEff);
      EXPECT_EQ(concurrent.Messages, serial.Messages);
    }
  }
}

// Asks for the abort once the current file holds `blocks` whole blocks.
class AbortAfterBlocks : public RecordingUi {
public:
  AbortAfterBlocks(std::filesystem::path xxx, std::size_t blocks)
      : xxx_(std::move(xxx)), blocks_(blocks) {}
  bool PumpEventsAndCheckAbort() override {
    RecordingUi::PumpEventsAndCheckAbort();
    std::error_code error;
    return std::filesystem::exists(xxx_, error) &&
           ScanFrequencies(xxx_, CurrentFileFields).size() >= blocks_;
  }

private:
  std::filesystem::path xxx_;
  std::size_t blocks_;
};

TEST(ConcurrentSweep, AbortKeepsWholeBlocksOfTheFirstPointsOnly) {
  TempDir dir;
  Project project = StripAndPlane(dir, false);
  const SweepOutcome serial = RunSweep(project, Sweep(1, true), dir);
  std::filesystem::remove(dir / "pair.XXX");
  AbortAfterBlocks ui(dir / "pair.XXX", 2);
  const ComputationReport report = Compute(project, Sweep(2, true), ui, dir);
  EXPECT_TRUE(report.Aborted);
  EXPECT_EQ(ui.messages, std::vector<std::string>{AbortedMessage});
  ASSERT_GE(report.Points.size(), 2u);
  ASSERT_LT(report.Points.size(), 7u);
  const std::vector<std::string> files = {".XXX", ".YYY", ".ZZX", ".ZZY", ".RAD"};
  const std::vector<int> fields = {CurrentFileFields, CurrentFileFields, GroundPlaneFileFields,
                                   GroundPlaneFileFields, FarFieldFileFields};
  for (std::size_t f = 0; f < files.size(); ++f) {
    const auto path = dir / ("pair" + files[f]);
    const std::string bytes = ReadBytes(path);
    // The serial run's file, cut after the committed points.
    EXPECT_EQ(serial.Files[f].compare(0, bytes.size(), bytes), 0) << files[f];
    std::string tail;
    if (files[f] == ".XXX" || files[f] == ".YYY" || files[f] == ".RAD") {
      EXPECT_EQ(ScanFrequencies(path, fields[f], &tail).size(), report.Points.size()) << files[f];
      EXPECT_EQ(tail, "") << files[f];
    }
  }
}

TEST(ConcurrentSweep, PointsInFlightFollowTheRequestOrTheSizeOfTheSystem) {
  EXPECT_EQ(SweepJobs(1, 300, 200, 8), 1);
  EXPECT_EQ(SweepJobs(6, 300, 4, 8), 4);     // never more than the points
  EXPECT_EQ(SweepJobs(3, 1900, 200, 2), 3);  // the user's choice stands
  EXPECT_EQ(SweepJobs(0, 300, 200, 2), 2);
  EXPECT_EQ(SweepJobs(0, 300, 200, 1), 1);
  EXPECT_EQ(SweepJobs(0, ConcurrentSweepUnknowns + 1, 200, 8), 1);
}

}  // namespace
}  // namespace lumetra
