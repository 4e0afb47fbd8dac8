// A computation that stops part-way through a point, or finds its project busy,
// leaves the result files as they were before that point.
#include <gtest/gtest.h>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/project_files.h"
#include "model/project_lock.h"
#include "tests/engine/engine_fixtures.h"

namespace lumetra {
namespace {

using testing::Compute;
using testing::ReadBytes;
using testing::RecordingUi;
using testing::StripDipole;
using testing::TempDir;

// Asks for the abort as soon as the current file holds `blocks` whole blocks: in
// the far field of that point, after its currents were written.
class AbortInFarField : public RecordingUi {
public:
  AbortInFarField(std::filesystem::path xxx, std::size_t blocks)
      : xxx_(std::move(xxx)), blocks_(blocks) {}
  bool PumpEventsAndCheckAbort() override {
    RecordingUi::PumpEventsAndCheckAbort();
    std::error_code error;
    if (!std::filesystem::exists(xxx_, error)) return false;
    return ScanFrequencies(xxx_, CurrentFileFields).size() >= blocks_;
  }

private:
  std::filesystem::path xxx_;
  std::size_t blocks_;
};

ComputationSettings TwoPointsWithFarField() {
  ComputationSettings s = testing::LinearSweep(1000, 1100, 100);
  s.FarField = true;
  s.Jobs = 1;  // the blocks written in place, point after point (concurrent_sweep_test: the others)
  return s;
}

TEST(ResultSurvivalEngine, AnAbortInTheFarFieldTakesBackThatPointsCurrentsToo) {
  TempDir dir;
  Project project = StripDipole(dir, 60, 2, 20);
  AbortInFarField ui(dir / "strip.XXX", 2);
  const ComputationReport report = Compute(project, TwoPointsWithFarField(), ui, dir);
  EXPECT_TRUE(report.Aborted);
  ASSERT_EQ(report.Points.size(), 1u);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"The computation has been aborted!"});
  std::string tail;
  EXPECT_EQ(ScanFrequencies(dir / "strip.XXX", CurrentFileFields, &tail),
            std::vector<double>{1000.0});
  EXPECT_EQ(ScanFrequencies(dir / "strip.RAD", FarFieldFileFields, &tail),
            std::vector<double>{1000.0});
  EXPECT_EQ(tail, "");

  // Aborted in the far field of the first point: nothing is kept anywhere.
  AbortInFarField early(dir / "strip.XXX", 1);
  EXPECT_TRUE(Compute(project, TwoPointsWithFarField(), early, dir).Aborted);
  EXPECT_EQ(ReadBytes(dir / "strip.XXX"), "");
  EXPECT_EQ(ReadBytes(dir / "strip.RAD"), "");
}

TEST(ResultSurvivalEngine, ABusyProjectIsRefusedBeforeAnyFileIsWritten) {
  TempDir dir;
  Project project = StripDipole(dir, 60, 2, 20);
  const std::string pro = ReadBytes(project.ProjectFile);
  const std::optional<ProjectLock> lock = ProjectLock::TryTake(project.ProjectFile);
  ASSERT_TRUE(lock);
  RecordingUi ui;
  const ComputationReport report = Compute(project, TwoPointsWithFarField(), ui, dir);
  EXPECT_FALSE(report.Started);
  EXPECT_TRUE(report.ProjectBusy);
  EXPECT_EQ(ui.messages, std::vector<std::string>{ProjectBusyMessage(project.ProjectFile)});
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(ReadBytes(project.ProjectFile), pro);
  for (const char* extension : {".JXC", ".JYC", ".XXX", ".RAD"})
    EXPECT_FALSE(std::filesystem::exists(ProjectFileWithExtension(project.ProjectFile, extension)))
        << extension;
}

}  // namespace
}  // namespace lumetra
