// The emission run through the real solver: the physics of what radiates
// (a small loop's law, linearity, superposition) and the contracts a user relies
// on (refusals before anything runs, the user's files untouched, limits and
// margins). The site scan against a fine one is test_site_test's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <filesystem>
#include <stdexcept>

#include "model/element_lookup.h"
#include "model/batch_mode.h"
#include "model/file_io.h"
#include "model/layout_editing.h"
#include "model/project_files.h"
#include "studies/emission/emission_outputs.h"
#include "studies/emission/emission_run.h"
#include "studies/emission/emission_workspace.h"
#include "studies/emission/named_limits.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"
#include "tests/support/error_text.h"

namespace lumetra::emission {
namespace {

using lumetra::testing::RecordingUi;
using lumetra::testing::TempDir;
using lumetra::testing::ReadBytes;
using lumetra::testing::WriteBytes;

constexpr double Eta0 = 120.0 * M_PI;

double Wavenumber(double frequencyMHz) {
  return 2.0 * M_PI * frequencyMHz * 1e6 * std::sqrt(1.2566370614359173e-06 * 8.854e-12);
}

void AddSource(Project& p, std::size_t segment, double x, double y, bool jx, double volts) {
  const auto hit = FindCurrentElementAt(p.Segments, segment, x, y, jx);
  ASSERT_TRUE(hit);
  AddVoltageSource(p, MakeVoltageSource(*hit, volts, 0.0));
}

// A square loop of 2 mm wide traces whose centre line encloses 60 x 60 mm, in free
// space, with a source in the middle of its bottom side.
Project SquareLoop(const std::filesystem::path& file) {
  Project p;
  ResetToNewProject(p, file.string(), 100, 100);
  p.GridSize = 1.0;
  AddSegment(p, Segment{50.0, 20.0, 62.0, 2.0, 31, 1});  // bottom, y 19..21
  AddSegment(p, Segment{50.0, 80.0, 62.0, 2.0, 31, 1});  // top
  AddSegment(p, Segment{20.0, 50.0, 2.0, 58.0, 1, 29});  // left, y 21..79
  AddSegment(p, Segment{80.0, 50.0, 2.0, 58.0, 1, 29});  // right
  AddSource(p, 0, 51.0, 20.0, true, 1.0);
  return p;
}

// Two parallel 80 mm traces over a ground plane, each driven at its left end and
// grounded at both ends, a load at the right end of each.
Project TwoTraces(const std::filesystem::path& file) {
  Project p;
  ResetToNewProject(p, file.string(), 100, 40);
  p.GridSize = 1.0;
  p.Env.GroundPlane = true;
  p.Env.GPHeight = "1";
  for (double y : {10.0, 30.0}) AddSegment(p, Segment{50.0, y, 80.0, 1.0, 40, 1});
  for (std::size_t s = 0; s < 2; ++s) {
    const double y = s == 0 ? 10.0 : 30.0;
    AddSource(p, s, 12.0, y, true, 1.0);
    const auto load = FindCurrentElementAt(p.Segments, s, 88.0, y, true);
    AddImpedance(p, MakeImpedance(*load, 50.0, 0.0, false));
    AddGroundPoint(p, MakeGroundPoint(*FindChargeCellAt(p.Segments, s, 10.5, y), EdgeLeft));
    AddGroundPoint(p, MakeGroundPoint(*FindChargeCellAt(p.Segments, s, 89.5, y), EdgeRight));
  }
  return p;
}

double Magnitude(const FieldVector& e) {
  return std::sqrt(std::norm(e.Ex) + std::norm(e.Ey) + std::norm(e.Ez));
}

TEST(EmissionPhysics, SmallLoopRadiatesAsAMagneticDipole) {
  // |E| = eta k^2 A I / (4 pi r) in the plane of a loop small against the
  // wavelength, here at r = 200 m in its plane (kr >> 1): the f^2 law.
  TempDir dir;
  const Project loop = SquareLoop(dir.path() / "LOOP.PRO");
  RecordingUi ui;
  ComputationControl control(ui);
  EmissionWorkspace workspace(loop, ComputationSettings{}, control);
  const double area = 0.060 * 0.060, r = 200.0;
  double previousPerAmp = 0.0;
  for (double f : {30.0, 60.0}) {
    const std::optional<SolvedPoint> solved = workspace.Solve(f, {1.0});
    ASSERT_TRUE(solved) << (ui.messages.empty() ? "" : ui.messages.back());
    const Complex current = *solved->Point.Sources.at(0).Current;
    const double amps = std::hypot(current.Re, current.Im);
    const double k = Wavenumber(f);
    const double expected = Eta0 * k * k * area * amps / (4.0 * M_PI * r);
    const double field = Magnitude(ElectricFieldAt(solved->Radiators, 0.05 + r, 0.05, 0.0, k));
    EXPECT_NEAR(field / expected, 1.0, 0.02) << f << " MHz";  // 0.2 % and 0.9 % today
    if (previousPerAmp > 0.0) {
      EXPECT_NEAR(field / amps / previousPerAmp, 4.0, 0.2);
    }
    previousPerAmp = field / amps;
  }
}

TEST(EmissionPhysics, FieldsScaleWithTheDriveAndSuperpose) {
  TempDir dir;
  const Project traces = TwoTraces(dir.path() / "TWO.PRO");
  RecordingUi ui;
  ComputationControl control(ui);
  EmissionWorkspace workspace(traces, ComputationSettings{}, control);
  const double f = 300.0, k = Wavenumber(f);
  const std::complex<double> v1(0.7, -0.2), v2(-0.1, 0.4);
  const auto first = workspace.Solve(f, {v1, 0.0});
  const auto second = workspace.Solve(f, {0.0, v2});
  const auto both = workspace.Solve(f, {v1, v2});
  const auto doubled = workspace.Solve(f, {2.0 * v1, 0.0});
  ASSERT_TRUE(first && second && both && doubled);
  for (const auto& [x, y, z] : {std::array{0.05, 0.02, 3.0}, std::array{3.0, -1.0, 0.5},
                                std::array{-2.0, 2.5, 1.2}}) {
    const FieldVector a = ElectricFieldAt(first->Radiators, x, y, z, k);
    const FieldVector b = ElectricFieldAt(second->Radiators, x, y, z, k);
    const FieldVector sum = ElectricFieldAt(both->Radiators, x, y, z, k);
    const FieldVector twice = ElectricFieldAt(doubled->Radiators, x, y, z, k);
    const double scale = Magnitude(sum);
    EXPECT_LT(std::abs(sum.Ex - a.Ex - b.Ex), 1e-9 * scale);
    EXPECT_LT(std::abs(sum.Ey - a.Ey - b.Ey), 1e-9 * scale);
    EXPECT_LT(std::abs(sum.Ez - a.Ez - b.Ez), 1e-9 * scale);
    EXPECT_NEAR(20.0 * std::log10(Magnitude(twice) / Magnitude(a)), 6.0206, 1e-6);
  }
}

EmissionRequest ClockRequest(std::size_t sources, double amplitude, SiteKind site) {
  EmissionRequest request;
  for (std::size_t s = 0; s < sources; ++s) request.Signals.emplace_back(ConstantDrive{0.0});
  request.Signals[0] = TrapezoidWaveform{amplitude, 100.0, 1.0, std::nullopt, 0.5};
  request.StopMHz = 500.0;
  request.Site.Kind = site;
  request.Site.DistanceM = 3.0;
  return request;
}

TEST(EmissionRun, DoubleAmplitudeAddsSixDecibelsAtEveryLine) {
  TempDir dir;
  const Project traces = TwoTraces(dir.path() / "TWO.PRO");
  RecordingUi ui;
  ComputationControl control(ui);
  const EmissionResult once = RunEmission(traces, ClockRequest(2, 1.0, SiteKind::SemiAnechoic), control);
  const EmissionResult twice = RunEmission(traces, ClockRequest(2, 2.0, SiteKind::SemiAnechoic), control);
  ASSERT_FALSE(once.Aborted);
  // 100 MHz clock with 50 % duty: the odd harmonics 100, 300 and 500 MHz only.
  ASSERT_EQ(once.Lines.size(), 3u);
  ASSERT_EQ(twice.Lines.size(), 3u);
  for (std::size_t i = 0; i < once.Lines.size(); ++i) {
    EXPECT_NEAR(twice.Lines[i].LevelDbuvM - once.Lines[i].LevelDbuvM, 6.0206, 1e-3);
    EXPECT_EQ(once.Lines[i].LargestSource, 1);
    ASSERT_EQ(once.Lines[i].Sources.size(), 1u);
    EXPECT_EQ(once.Lines[i].Sources[0].Number, 1);
  }
  EXPECT_EQ(once.SiteName, "sac");
}

TEST(EmissionRun, LargestContributorIsTheSourceWhoseFieldAloneIsLargest) {
  TempDir dir;
  const Project traces = TwoTraces(dir.path() / "TWO.PRO");
  EmissionRequest request = ClockRequest(2, 0.1, SiteKind::Free);
  request.Signals[1] = TrapezoidWaveform{3.3, 100.0, 1.0, std::nullopt, 0.5};
  RecordingUi ui;
  ComputationControl control(ui);
  const EmissionResult result = RunEmission(traces, request, control);
  ASSERT_EQ(result.Lines.size(), 3u);
  for (const EmissionLine& line : result.Lines) {
    EXPECT_EQ(line.LargestSource, 2) << line.FrequencyMHz;
    ASSERT_EQ(line.Sources.size(), 2u);
    // The drive reported is the harmonic's own phasor, 2 c_n.
    EXPECT_NEAR(std::abs(line.Sources[1].AmplitudeV) / std::abs(line.Sources[0].AmplitudeV), 33.0,
                1e-9);
  }
}

TEST(EmissionRun, LeavesTheUsersFilesAlone) {
  TempDir dir;
  Project traces = TwoTraces(dir.path() / "TWO.PRO");
  SaveProjectFiles(traces, dir.path() / "TWO");
  WriteBytes(dir.path() / "TWO.XXX", "an earlier run's currents\r\n");
  const auto before = std::distance(std::filesystem::directory_iterator(dir.path()),
                                    std::filesystem::directory_iterator());
  RecordingUi ui;
  ComputationControl control(ui);
  const EmissionResult result =
      RunEmission(traces, ClockRequest(2, 1.0, SiteKind::Free), control);
  EXPECT_FALSE(result.Aborted);
  EXPECT_EQ(ReadBytes(dir.path() / "TWO.XXX"), "an earlier run's currents\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            before);
}

TEST(EmissionRun, AbortKeepsTheLinesFinished) {
  TempDir dir;
  const Project traces = TwoTraces(dir.path() / "TWO.PRO");
  const BatchModeScope batch;  // the lines at once from the first
  for (const int jobs : {1, 3}) {
    RecordingUi ui;
    ui.abortAfterPolls = 1;
    ComputationControl control(ui);
    EmissionRequest request = ClockRequest(2, 1.0, SiteKind::Free);
    request.Solver.Jobs = jobs;
    const EmissionResult result = RunEmission(traces, request, control);
    EXPECT_TRUE(result.Aborted) << jobs;
    EXPECT_LT(result.Lines.size(), 3u) << jobs;
  }
}

TEST(EmissionRun, LinesSolvedAtOnceAreThoseSolvedOneAtATime) {
  // Without the ground plane its ground connections are ignored, with a question
  // and a message; two clocks share the odd harmonics (three solves each).
  TempDir dir;
  Project traces = TwoTraces(dir.path() / "TWO.PRO");
  traces.Env.GroundPlane = false;
  EmissionRequest request = ClockRequest(2, 1.0, SiteKind::Free);
  request.Signals[1] = TrapezoidWaveform{0.4, 100.0, 1.0, std::nullopt, 0.3};
  request.Limit = ResolveLimit("cispr32-b", 3.0, 500.0).Limit;
  std::vector<std::string> seen[2];
  for (const int jobs : {1, 3}) {
    RecordingUi ui;
    ComputationControl control(ui);
    request.Solver.Jobs = jobs;
    const EmissionResult result = RunEmission(traces, request, control);
    ASSERT_EQ(result.Lines.size(), 5u) << jobs;
    std::vector<std::string>& shown = seen[jobs == 1 ? 0 : 1];
    shown = {EmissionTable(result), EmissionCsv(result), EmissionJson(result)};
    for (const auto* texts : {&ui.messages, &ui.questions, &ui.statusTexts})
      shown.insert(shown.end(), texts->begin(), texts->end());
  }
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_NE(std::find(seen[0].begin(), seen[0].end(), "Ground connections will be ignored"),
            seen[0].end());
}

void ExpectRefused(const Project& project, const EmissionRequest& request,
                   const std::string& words) {
  EXPECT_PRED2(lumetra::testing::Holds,
               lumetra::testing::ErrorText<std::invalid_argument>([&] { ValidateEmissionRequest(project, request); }),
               words);
}

TEST(EmissionRun, BadRequestsAreRefusedBeforeAnythingIsComputed) {
  TempDir dir;
  const Project traces = TwoTraces(dir.path() / "TWO.PRO");
  EmissionRequest request = ClockRequest(2, 1.0, SiteKind::Free);
  EmissionRequest missing = request;
  missing.Signals.pop_back();
  ExpectRefused(traces, missing, "1 source signals given for 2 voltage sources");
  EmissionRequest constant = request;
  constant.Signals[0] = ConstantDrive{1.0};
  ExpectRefused(traces, constant, "No source has a line");
  EmissionRequest slow = request;
  slow.Signals[0] = TrapezoidWaveform{1.0, 100.0, 20.0, std::nullopt, 0.5};
  ExpectRefused(traces, slow, "rise");
  EmissionRequest far = request;
  far.StopMHz = 7000.0;
  ExpectRefused(traces, far, "6000");
  EmissionRequest beyond = request;
  beyond.StopMHz = 3000.0;
  beyond.Limit = ResolveLimit("cispr32-b", 3.0, 1000.0).Limit;
  ExpectRefused(traces, beyond, "covers 30 to 1000 MHz only");
  EmissionRequest nowhere = request;
  nowhere.Site.DistanceM = 0.0;
  EXPECT_THROW(ValidateEmissionRequest(traces, nowhere), std::invalid_argument);
  // Nothing at all was computed: no message and no question.
  RecordingUi ui;
  ComputationControl control(ui);
  EXPECT_THROW(RunEmission(traces, slow, control), std::invalid_argument);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(ui.questions.empty());
}

TEST(EmissionLimits, ClassNamesJoinTheTablesAtTheRunsDistance) {
  // CISPR 32 class B at 10 m: the 10 m table as published, 30 / 37 dBuV/m.
  const ResolvedLimit tenMetres = ResolveLimit("cispr32-b", 10.0, 1000.0);
  EXPECT_DOUBLE_EQ(*LimitAt(tenMetres.Limit, 100.0), 30.0);
  EXPECT_DOUBLE_EQ(*LimitAt(tenMetres.Limit, 230.0), 30.0);  // the lower limit at the edge
  EXPECT_DOUBLE_EQ(*LimitAt(tenMetres.Limit, 231.0), 37.0);
  EXPECT_EQ(tenMetres.Note.find("converted"), std::string::npos);
  // At 3 m up to 6 GHz: the 3 m table, then the average table above 1 GHz.
  const ResolvedLimit threeMetres = ResolveLimit("cispr32-b", 3.0, 6000.0);
  EXPECT_DOUBLE_EQ(*LimitAt(threeMetres.Limit, 500.0), 47.0);
  EXPECT_DOUBLE_EQ(*LimitAt(threeMetres.Limit, 2000.0), 50.0);
  EXPECT_DOUBLE_EQ(*LimitAt(threeMetres.Limit, 3000.0), 50.0);
  EXPECT_DOUBLE_EQ(*LimitAt(threeMetres.Limit, 4000.0), 54.0);
  EXPECT_NE(threeMetres.Note.find("average"), std::string::npos);
  // FCC class B is published at 3 m only: at 10 m every value drops 10.46 dB.
  const ResolvedLimit fcc = ResolveLimit("fcc15-b", 10.0, 1000.0);
  EXPECT_NEAR(*LimitAt(fcc.Limit, 50.0), 40.0 + 20.0 * std::log10(3.0 / 10.0), 1e-9);
  EXPECT_NE(fcc.Note.find("converted from 3 m to 10 m"), std::string::npos);
  // 5 m takes the nearer 3 m table, converted by 20 log10(3/5).
  EXPECT_NEAR(*LimitAt(ResolveLimit("cispr32-a", 5.0, 1000.0).Limit, 300.0),
              57.0 + 20.0 * std::log10(3.0 / 5.0), 1e-9);
  // 6 m lies nearer 10 m on the logarithmic scale: the 10 m table, up 20 log10(10/6).
  EXPECT_NEAR(*LimitAt(ResolveLimit("cispr32-a", 6.0, 1000.0).Limit, 300.0),
              47.0 + 20.0 * std::log10(10.0 / 6.0), 1e-9);
  EXPECT_PRED2(lumetra::testing::Holds,
               lumetra::testing::ErrorText<std::invalid_argument>([] { ResolveLimit("cispr99", 3.0, 1000.0); }),
               "Unknown limit \"cispr99\"");
  EXPECT_THROW(ResolveLimit("fcc15-b", 3.0, 6500.0), std::invalid_argument);
}

TEST(EmissionLimits, MarginIsLimitMinusLevelAndTheWorstLineLeads) {
  LimitLine limit;
  limit.Name = "test";
  limit.DistanceM = 3.0;
  limit.Segments = {{30.0, 230.0, 40.0, 40.0}, {230.0, 1000.0, 47.0, 47.0}};
  EmissionResult result;
  for (const auto& [f, level] : {std::pair{25.0, 60.0}, {100.0, 35.0}, {230.0, 41.0},
                                 {400.0, 44.0}}) {
    EmissionLine line;
    line.FrequencyMHz = f;
    line.LevelDbuvM = level;
    ApplyLimit(limit, line);
    result.Lines.push_back(line);
  }
  EXPECT_FALSE(result.Lines[0].MarginDb);  // below the limit's range
  EXPECT_DOUBLE_EQ(*result.Lines[1].MarginDb, 5.0);
  EXPECT_DOUBLE_EQ(*result.Lines[2].MarginDb, -1.0);  // 40 at the shared edge
  EXPECT_DOUBLE_EQ(*result.Lines[3].MarginDb, 3.0);
  const std::vector<std::size_t> worst = WorstLines(result, 3);
  EXPECT_EQ(worst, (std::vector<std::size_t>{2, 3, 1}));
}

}  // namespace
}  // namespace lumetra::emission
