// One computation per project: the lock beside the project file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/file_io.h"
#include "model/project_lock.h"
#include "tests/support/temp_dir.h"
#include "tests/support/error_text.h"

namespace lumetra {
namespace {

using testing::TempDir;

TEST(ProjectLock, OneHolderAtATimeAndTheFileGoesWithIt) {
  TempDir dir;
  const auto pro = dir / "board.PRO";
  EXPECT_EQ(ProjectLockFile(pro), dir / "board.LCK");
  EXPECT_EQ(ProjectBusyMessage(pro), "Error: Project \"" + pro.string() +
                                         "\" is being computed by another run; try again when it "
                                         "has finished.");
  {
    std::optional<ProjectLock> held = ProjectLock::TryTake(pro);
    ASSERT_TRUE(held);
    EXPECT_TRUE(std::filesystem::exists(dir / "board.LCK"));
    // A second taker, here or in another process, finds it held.
    EXPECT_FALSE(ProjectLock::TryTake(pro));
    // Another project in the same directory is free.
    EXPECT_TRUE(ProjectLock::TryTake(dir / "other.PRO"));
    // Moving the lock keeps it held.
    std::optional<ProjectLock> moved = std::move(held);
    held.reset();
    EXPECT_FALSE(ProjectLock::TryTake(pro));
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "board.LCK"));
  EXPECT_TRUE(ProjectLock::TryTake(pro));
}

TEST(ProjectLock, AKilledHolderLeavesAFileThatDoesNotBlock) {
  TempDir dir;
  const auto pro = dir / "board.PRO";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    const std::optional<ProjectLock> lock = ProjectLock::TryTake(pro);
    const char answer = lock ? 'y' : 'n';
    (void)!::write(ready[1], &answer, 1);
    ::pause();  // until killed, holding the lock
    ::_exit(0);
  }
  char answer = 0;
  ASSERT_EQ(::read(ready[0], &answer, 1), 1);
  EXPECT_EQ(answer, 'y');
  EXPECT_FALSE(ProjectLock::TryTake(pro));  // the other process holds it
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  // The file stayed behind, the lock went with the process.
  EXPECT_TRUE(std::filesystem::exists(dir / "board.LCK"));
  EXPECT_TRUE(ProjectLock::TryTake(pro));
}

TEST(ProjectLock, ADirectoryThatCannotHoldTheFileIsAFileError) {
  TempDir dir;
  EXPECT_PRED2(testing::Holds,
               testing::ErrorText<FileError>([&] { ProjectLock::TryTake(dir / "missing" / "board.PRO"); }),
               "missing/board.LCK");
}

}  // namespace
}  // namespace lumetra
