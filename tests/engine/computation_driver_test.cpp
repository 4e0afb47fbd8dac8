#include <gtest/gtest.h>

#include "model/batch_mode.h"
#include "model/project_files.h"
#include "studies/narrow_strip_warning.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::ReadBytes;
using testing::RecordingUi;
using testing::SingleFrequency;
using testing::StripDipole;
using testing::TempDir;

bool NoTemporaryCopyLeft(const TempDir& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    if (entry.path().stem() == "TempFile") return false;
  return true;
}

class Driver : public ::testing::Test {
protected:
  TempDir dir;
  RecordingUi ui;
  Project project = StripDipole(dir, 60, 2, 20);
};

TEST_F(Driver, SingleFrequencyWritesTheCurrentsAndAsksOnce) {
  const ComputationReport report = Compute(project, SingleFrequency(1000), ui, dir);
  ASSERT_TRUE(report.Started);
  EXPECT_FALSE(report.Aborted);
  EXPECT_EQ(ui.questions, std::vector<std::string>{"19 unknowns. Proceed with computation?"});
  EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
  ASSERT_EQ(report.Points.size(), 1u);
  EXPECT_EQ(report.Unknowns, 19);
  const std::string xxx = ReadBytes(dir / "strip.XXX");
  EXPECT_EQ(xxx.substr(0, 27), " 1.00000000000000E+0003 19\r");
  EXPECT_EQ(ReadBytes(dir / "strip.YYY"), "");  // no Jy elements
  EXPECT_TRUE(NoTemporaryCopyLeft(dir));
  EXPECT_EQ(project.Segments.size(), 1u);  // the model is untouched
  EXPECT_EQ(report.InputPower, -1.0);      // kept only with the far field
  // The source's power is the input power: 1/2 Re(V I*).
  const auto& source = report.Points[0].Sources.at(0);
  ASSERT_TRUE(source.Current);
  EXPECT_NEAR(report.Points[0].InputPower, 0.5 * source.Current->Re, 1e-12);
}

TEST_F(Driver, SweepAppendsOneBlockPerPointAndBeeps) {
  ComputationSettings s = testing::LinearSweep(100, 1000, 2);
  s.LogSweep = true;
  s.CompSound = true;
  {
    BatchModeScope batch;
    const ComputationReport report = Compute(project, s, ui, dir);
    ASSERT_EQ(report.Points.size(), 4u);
    EXPECT_EQ(report.Points[3].FrequencyMHz, 800);
  }
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(ui.beeps, 1);
  const std::string xxx = ReadBytes(dir / "strip.XXX");
  std::size_t headers = 0;
  for (std::size_t at = xxx.find(" 19\r\n"); at != std::string::npos; at = xxx.find(" 19\r\n", at + 1))
    ++headers;
  EXPECT_EQ(headers, 4u);
}

TEST_F(Driver, ValidationReportsEveryFaultInOrderAndStartsNothing) {
  ComputationSettings s = SingleFrequency(0);  // "0" is not above 0
  s.IncField = true;
  s.IncTheta = "90";  // exclusive bound
  s.IncPol = "90";    // accepted
  s.ImpFile = true;   // but there are no loads
  s.FarField = true;
  s.ThetaStep = "0.1";
  project.Env.DielConst = "abc";
  const ComputationReport report = Compute(project, s, ui, dir);
  EXPECT_FALSE(report.Started);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{
                             "Error: Not a valid real number!",
                             "Error: Out of range! Frequency must be greater than 0",
                             "Error: Out of range! Incident Theta angle must be smaller than 90",
                             "Error: You have not defined any impedances!",
                             "Error: Out of range! Far field Theta angle step must be greater than 0.1"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "strip.XXX"));
  EXPECT_TRUE(NoTemporaryCopyLeft(dir));
}

TEST_F(Driver, SweepAndListChecks) {
  ComputationSettings s = SingleFrequency(0);
  s.SweepFreq = true;
  s.StartFreq = "500";
  s.StopFreq = "100";
  EXPECT_FALSE(Compute(project, s, ui, dir).Started);
  EXPECT_EQ(ui.messages.back(), "Error: Stop frequency must be greater than start frequency");

  s.StartFreq = "100";
  s.StopFreq = "500";
  s.FreqListCB = true;
  s.FrequencyList = {"100", "2x0"};
  EXPECT_FALSE(Compute(project, s, ui, dir).Started);
  EXPECT_EQ(ui.messages.back(), "Error: Invalid frequency in frequency list");
  s.FrequencyList = {"100", "-5"};
  EXPECT_FALSE(Compute(project, s, ui, dir).Started);
  EXPECT_EQ(ui.messages.back(), "Error: Invalid frequency in frequency list");

  s.FrequencyList = {};
  const ComputationReport empty = Compute(project, s, ui, dir);
  EXPECT_TRUE(empty.Aborted);
  EXPECT_EQ(ui.messages.back(), EmptyFrequencyListMessage);

  s.FrequencyList = {"300", "150"};  // list order, not sorted
  const ComputationReport listed = Compute(project, s, ui, dir);
  ASSERT_EQ(listed.Points.size(), 2u);
  EXPECT_EQ(listed.Points[1].FrequencyMHz, 150);
  EXPECT_TRUE(NoTemporaryCopyLeft(dir));
}

TEST_F(Driver, SourcesConnectionsAndDielectricGroundPointsAreRequired) {
  project.VoltageSources.clear();
  project.Segments.push_back({140, 50, 20, 2, 5, 2});  // touches with another density
  project.Env.GroundPlane = true;
  project.Env.GPHeight = "1.6";
  project.Env.DielConst = "4.4";
  project.GroundPoints = {{1, EdgeLeft, 1, 70, 50}};
  EXPECT_FALSE(Compute(project, SingleFrequency(100), ui, dir).Started);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{
                             "Error: You have not defined any voltage sources!",
                             "Error: You cannot use ground points together with dielectric material",
                             NotConnectedMessage}));
}

TEST_F(Driver, UnknownLimitsStopTheRunBeforeAnyQuestion) {
  project.Segments = {{100, 50, 100, 2, 2002, 1}};  // 2001 Jx elements
  project.VoltageSources[0].ElementNo = 1000;
  Compute(project, SingleFrequency(100), ui, dir);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{TooManyUnknownsMessage, AbortedMessage}));
  EXPECT_TRUE(ui.questions.empty());

  ui.messages.clear();
  project.Segments = {{100, 50, 100, 2, 2001, 1}};  // 2000 pass the limit
  ui.answers = {Answer::No};
  Compute(project, SingleFrequency(100), ui, dir);
  EXPECT_EQ(ui.questions, std::vector<std::string>{"2000 unknowns. Proceed with computation?"});
  EXPECT_EQ(ui.messages, std::vector<std::string>{AbortedMessage});

  ui.messages.clear();
  project.Segments = {{100, 50, 4, 2, 2, 1}};  // a single Jx element
  project.VoltageSources[0].ElementNo = 1;
  Compute(project, SingleFrequency(100), ui, dir);
  EXPECT_EQ(ui.messages.front(),
            "To few current elements in x or y-direction, cannot perform computation");
  EXPECT_TRUE(NoTemporaryCopyLeft(dir));
}

// The user's limit lets more unknowns through and names itself when it is exceeded;
// a coupled system beyond it is refused by the solve before anything is filled.
TEST_F(Driver, ALiftedLimitOfUnknownsTakesMoreAndNamesItself) {
  project.Segments = {{100, 50, 100, 2, 2002, 1}};  // 2001 Jx elements
  project.VoltageSources[0].ElementNo = 1000;
  ComputationSettings s = SingleFrequency(100);
  s.MaxUnknowns = 2001;
  ui.answers = {Answer::No};
  Compute(project, s, ui, dir);
  EXPECT_EQ(ui.questions, std::vector<std::string>{"2001 unknowns. Proceed with computation?"});

  ui.messages.clear(), ui.questions.clear();
  s.MaxUnknowns = 1500;  // below the default: the default holds
  Compute(project, s, ui, dir);
  EXPECT_EQ(ui.messages.front(), TooManyUnknownsMessage);

  ui.messages.clear();
  project.Segments = {{100, 50, 100, 2, 2003, 1}};  // 2002 Jx elements
  s.MaxUnknowns = 2001;
  Compute(project, s, ui, dir);
  EXPECT_EQ(ui.messages.front(), "To many unknowns, cannot perform computation: more than 2001 "
                                 "unknowns in one direction (the Maximum number of unknowns)");

  // 1500 Jx and 1002 Jy elements: each direction passes, the coupled 2502 do not.
  ui.messages.clear(), ui.questions.clear();
  project.Segments = {{100, 50, 100, 4, 501, 3}};
  project.VoltageSources[0].ElementNo = 1;
  Compute(project, SingleFrequency(100), ui, dir);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{LuFailedMessage, AbortedMessage}));
}

// Before the question and before anything is created: the point's memory against
// the machine's (19 unknowns need 13.8 kB).
TEST_F(Driver, APointBeyondTheAvailableMemoryIsRefused) {
  Compute(project, SingleFrequency(1000), ui, dir, 5000);
  EXPECT_EQ(ui.messages, (std::vector<std::string>{
                             "Error: Not enough memory for 19 unknowns: the computation needs "
                             "13.8 kB (the matrix alone 5.8 kB), but this machine has only 5.0 kB "
                             "available",
                             AbortedMessage}));
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_TRUE(NoTemporaryCopyLeft(dir));
  ui.messages.clear();
  EXPECT_EQ(Compute(project, SingleFrequency(1000), ui, dir, 13'772).Points.size(), 1u);
}

TEST_F(Driver, GroundPointsWithoutGroundPlaneAreIgnoredAfterAsking) {
  project.GroundPoints = {{1, EdgeLeft, 0.5, 70, 50}};
  const ComputationReport report = Compute(project, SingleFrequency(1000), ui, dir);
  EXPECT_EQ(ui.questions.back(),
            "Warning: You have defined ground connection(s) but no ground plane, proceed with "
            "computation?");
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Ground connections will be ignored"});
  EXPECT_EQ(report.Unknowns, 20);  // counted before they were dropped
  EXPECT_EQ(report.Points.size(), 1u);
}

TEST_F(Driver, GroundPlaneLayoutWritesTheGroundPointFiles) {
  project.Env.GroundPlane = true;
  project.Env.GPHeight = "1.6";
  project.GroundPoints = {{1, EdgeLeft, 1.0, 70, 50}, {20, EdgeRight, 1.0, 130, 50}};
  ComputationSettings s = SingleFrequency(500);
  s.FarField = true;
  const ComputationReport report = Compute(project, s, ui, dir);
  ASSERT_EQ(report.Points.size(), 1u) << (ui.messages.empty() ? "" : ui.messages[0]);
  EXPECT_EQ(report.Unknowns, 21);
  EXPECT_GT(report.InputPower, 0.0);  // single frequency with the far field keeps it
  EXPECT_EQ(ReadBytes(dir / "strip.ZZX").substr(23, 5), " 2\r\n ");
  EXPECT_EQ(ReadBytes(dir / "strip.ZZY").substr(23, 4), " 0\r\n");

  // Ground points on a bottom edge cannot carry a layout of Jx elements only.
  project.GroundPoints = {{1, EdgeBottom, 1.0, 71.5, 49}};
  ui.messages.clear();
  const ComputationReport refused = Compute(project, SingleFrequency(500), ui, dir);
  EXPECT_TRUE(refused.Points.empty());
  // The one-cell-wide strip over the plane is warned about first, after the checks.
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages.front(), NarrowStripWarning);
  EXPECT_EQ(ui.messages.back(),
            "Error: Ground points are not valid, should be placed at left and/or right edges.");
}

TEST_F(Driver, AbortDuringTheFillEndsTheRunAndCleansUp) {
  ui.abortAfterPolls = 3;
  const ComputationReport report = Compute(project, SingleFrequency(1000), ui, dir);
  EXPECT_TRUE(report.Aborted);
  EXPECT_EQ(ui.messages.back(), AbortedMessage);
  EXPECT_TRUE(report.Points.empty());
  EXPECT_TRUE(NoTemporaryCopyLeft(dir));
}

}  // namespace
}  // namespace lumetra
