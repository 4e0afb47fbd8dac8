// A block goes into a result file whole or not at all: a write error, an abort or
// an exception cuts the file back to where the block began; the readers and lists
// set aside the tail a killed run leaves.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <tuple>

#include "fields/result_files.h"
#include "fields/result_lists.h"
#include "fields/result_readers.h"
#include "model/file_io.h"
#include "model/project_files.h"
#include "tests/fields/near_field_fixtures.h"
#include "tests/fields/result_fixtures.h"
#include "tests/support/recording_ui.h"

namespace lumetra {
namespace {

using testing::ReadBytes;
using testing::RecordingUi;
using testing::ResultBlockText;
using testing::TempDir;
using testing::WriteBytes;

const std::string FirstBlock = ResultBlockText(100.0, {{0, 0, 1, 1, 1, 0}});
const std::string SecondBlock = ResultBlockText(200.0, {{0, 0, 1, 1, 2, 0}});

TEST(ResultBlockRollback, OnlyAClosedBlockStays) {
  TempDir dir;
  const auto file = dir / "r.XXX";
  WriteBytes(file, FirstBlock);
  {
    ResultFileStream stream(file, false);
    stream.Write(SecondBlock.substr(0, 40));
  }  // left by an exception
  EXPECT_EQ(ReadBytes(file), FirstBlock);
  {
    ResultFileStream stream(file, false);
    stream.Write(SecondBlock.substr(0, 40));
    stream.Discard();  // an abort
  }
  EXPECT_EQ(ReadBytes(file), FirstBlock);
  {
    ResultFileStream stream(file, false);
    stream.Write(SecondBlock);
    stream.Close();
  }
  EXPECT_EQ(ReadBytes(file), FirstBlock + SecondBlock);
  {
    ResultFileStream stream(file, true);  // a run's first point starts the file anew
    stream.Write(SecondBlock.substr(0, 40));
  }
  EXPECT_EQ(ReadBytes(file), "");
}

// The child's exit code: 0 when the write failed with the message of a full disk
// and the file was cut back to its first block.
int AppendOnAFullDisk(const std::filesystem::path& file, rlim_t limit, std::size_t blockBytes) {
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit small{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &small);
    ::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
    try {
      ResultFileStream stream(file, false);
      stream.Write(std::string(blockBytes, '1'));
      stream.Close();
      ::_exit(1);
    } catch (const FileError& error) {
      const std::string text = error.what();
      ::_exit(text == "Write error in file \"" + file.string() + "\". File too large" ? 0 : 2);
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ResultBlockRollback, AFullDiskCutsTheFileBackToItsLastWholeBlock) {
  TempDir dir;
  const auto file = dir / "r.RAD";
  WriteBytes(file, FirstBlock);
  // Written in one piece that only partly fits, and in pieces of which some fit.
  EXPECT_EQ(AppendOnAFullDisk(file, FirstBlock.size() + 100, 1000), 0);
  EXPECT_EQ(ReadBytes(file), FirstBlock);
  EXPECT_EQ(AppendOnAFullDisk(file, FirstBlock.size() + (3u << 20), 5u << 20), 0);
  EXPECT_EQ(ReadBytes(file), FirstBlock);
}

TEST(ResultBlockRollback, APointThatFailsTakesBackItsBlocksInEveryFile) {
  TempDir dir;
  const auto pro = dir / "p.PRO";
  const std::vector<std::filesystem::path> files = ComputationResultFiles(pro, true);
  ASSERT_EQ(files.size(), 5u);
  EXPECT_EQ(files.back(), dir / "p.RAD");
  EXPECT_EQ(ComputationResultFiles(pro, false).size(), 4u);  // an old .RAD is not the run's
  const auto xxx = dir / "p.XXX", rad = dir / "p.RAD";
  WriteBytes(xxx, FirstBlock);
  WriteBytes(rad, FirstBlock);
  {
    ResultPointGuard point(files, false);
    WriteResultBlock(xxx, false, SecondBlock);
    WriteBytes(rad, FirstBlock + "half a blo");
  }
  EXPECT_EQ(ReadBytes(xxx), FirstBlock);
  EXPECT_EQ(ReadBytes(rad), FirstBlock);
  EXPECT_FALSE(std::filesystem::exists(dir / "p.YYY"));  // not reached: not created
  {
    ResultPointGuard point(files, false);
    WriteResultBlock(xxx, false, SecondBlock);
    point.Keep();
  }
  EXPECT_EQ(ReadBytes(xxx), FirstBlock + SecondBlock);
  {
    ResultPointGuard point(files, true);  // the first point of a run
    WriteResultBlock(xxx, true, FirstBlock);
  }
  EXPECT_EQ(ReadBytes(xxx) + ReadBytes(rad), "");
}

TEST(ResultBlockRollback, TheMessageSaysWhichFrequenciesWereKept) {
  EXPECT_EQ(KeptResultsSentence({}), "No results were kept.");
  EXPECT_EQ(KeptResultsSentence({433.92}), "The results of 433.92 MHz were kept.");
  EXPECT_EQ(KeptResultsSentence({100, 110, 120.5}),
            "The results of 3 frequencies from 100 to 120.5 MHz were kept.");
  EXPECT_EQ(WithKeptResults("Write error in file \"a.RAD\". No space left on device", {100}),
            "Write error in file \"a.RAD\". No space left on device. The results of 100 MHz "
            "were kept.");
  EXPECT_EQ(WithKeptResults("Disk gone.", {}), "Disk gone. No results were kept.");
}

struct Project {
  TempDir dir;
  std::filesystem::path pro = dir / "r.PRO";
  void Write(const char* extension, const std::string& text) {
    WriteBytes(ProjectFileWithExtension(pro, extension), text);
  }
};

TEST(ResultBlockRollback, ListsShowTheWholeBlocksAndWarnOnce) {
  Project p;
  const std::string third = ResultBlockText(300.0, {{0, 0, 1, 1, 3, 0}});
  // Killed while it wrote the Jy currents of 300 MHz: .XXX is a block ahead.
  p.Write(".XXX", FirstBlock + SecondBlock + third);
  p.Write(".YYY", FirstBlock + SecondBlock + third.substr(0, 50));
  RecordingUi ui;
  std::vector<std::vector<std::string>> offered;
  const std::optional<ResultList> list =
      BuildResultList(p.pro, ListKind::Jy, ui, [&](const std::vector<std::string>& entries) {
        offered.push_back(entries);
        return std::optional<std::size_t>(1);
      });
  ASSERT_TRUE(list);
  ASSERT_EQ(list->Rows.size(), 1u);
  // The 200 MHz current, not another.
  EXPECT_EQ(std::tie(list->FrequencyMHz, list->Rows[0][1]), std::make_tuple(200.0, "2.000E+00"));
  // The dialog offers what the Jy file holds whole.
  EXPECT_EQ(offered, (std::vector<std::vector<std::string>>{{"100", "200"}}));
  EXPECT_EQ(ui.messages,
            std::vector<std::string>{DamagedTailWarning((p.dir / "r.YYY").string(), 5)});

  // A file left with nothing whole: the warning, then nothing to list.
  p.Write(".RAD", " 1.0E+0002 46\r\n 0.0000E+0000 ");
  RecordingUi empty;
  EXPECT_FALSE(BuildResultList(p.pro, ListKind::FarField, empty, {}));
  EXPECT_EQ(empty.messages, (std::vector<std::string>{
                                DamagedTailWarning((p.dir / "r.RAD").string(), 1),
                                NoDataToListMessage}));
}

}  // namespace
}  // namespace lumetra
