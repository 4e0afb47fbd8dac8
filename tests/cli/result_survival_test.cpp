// lumetra-cli under the faults a real machine has: a full disk, a run killed in the
// middle of a sweep, and two runs started on one project at once. Afterwards the
// result files hold whole blocks of one run, and the commands still read them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fields/result_files.h"
#include "fields/result_readers.h"
#include "model/project_lock.h"
#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"

namespace lumetra {
namespace {

using testing::Cli;
using testing::CopyExample;
using testing::CliRun;
using testing::ReadBytes;
using testing::TempDir;

// A far-field data line: four R13 fields, three blanks, CR LF.
constexpr std::size_t FarFieldLineBytes = 4 * 13 + 3 + 2;

// The bytes of a far-field block of n lines: the R23 frequency, a blank, the count
// and CR LF, then the lines.
constexpr std::size_t FarFieldBlockBytes(std::size_t lines) {
  std::size_t digits = 1;
  for (std::size_t n = lines; n >= 10; n /= 10) ++digits;
  return 23 + 1 + digits + 2 + lines * FarFieldLineBytes;
}


// lumetra-cli started in the background, its output into a file; killed if the test
// leaves before it ended.
class Child {
public:
  // fileSizeLimit > 0 runs it as on a disk that holds no file larger than that:
  // writes beyond fail with EFBIG (the signal that would kill it is ignored).
  Child(const std::vector<std::string>& arguments, const std::filesystem::path& log,
        rlim_t fileSizeLimit = 0) {
    std::vector<std::string> words{LUMETRA_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(fd, 1);
      ::dup2(fd, 2);
      if (fileSizeLimit > 0) {
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
      }
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  void Kill() { ::kill(pid_, SIGKILL); }
  bool Running() const { return pid_ > 0; }
  // The exit code, -1 when a signal ended it.
  int Wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

private:
  pid_t pid_ = -1;
};

std::uintmax_t SizeOf(const std::filesystem::path& file) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  return error ? 0 : size;
}

// Polls until done() holds; false after the time limit, which only a machine far
// slower than any the tests run on would reach.
template <typename Condition>
bool PollUntil(Condition done, std::chrono::seconds limit = std::chrono::seconds(120)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::vector<double> WholeBlocks(const std::filesystem::path& file, int fields,
                                std::string* tail = nullptr) {
  return ScanFrequencies(ReadBytes(file), file.string(), fields, tail);
}

TEST(ResultSurvival, AFullDiskKeepsTheWholeBlocksAndSaysWhichFrequencies) {
  TempDir dir;
  CopyExample("dipole", dir);
  const auto pro = dir / "dipole.PRO";
  // One block of the default pattern is 966 lines: the fourth does not fit.
  constexpr std::size_t radBlock = FarFieldBlockBytes(966);
  Child run({"compute", pro.string(), "--sweep", "100", "200", "10", "--far-field"},
            dir / "full.log", 200 * 1024);
  EXPECT_EQ(run.Wait(), 1);
  const std::string output = ReadBytes(dir / "full.log");
  EXPECT_EQ(output, "Write error in file \"" + (dir / "dipole.RAD").string() +
                        "\". File too large. The results of 3 frequencies from 100 to 120 MHz "
                        "were kept.\nThe computation has been aborted!\n");

  // Every file holds the same three whole blocks; nothing of the fourth point.
  std::string tail;
  EXPECT_EQ(WholeBlocks(dir / "dipole.RAD", FarFieldFileFields, &tail),
            (std::vector<double>{100, 110, 120}));
  EXPECT_EQ(SizeOf(dir / "dipole.RAD"), 3 * radBlock);
  EXPECT_EQ(WholeBlocks(dir / "dipole.XXX", CurrentFileFields, &tail),
            (std::vector<double>{100, 110, 120}));
  EXPECT_EQ(tail, "");
  EXPECT_EQ(ReadBytes(dir / "dipole.YYY"), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "dipole.PRO.partial~"));

  for (const char* kind : {"rad", "jx"}) {
    const CliRun list = Cli(dir, "list " + pro.string() + " " + kind + " --freq 100");
    EXPECT_EQ(list.exitCode, 0) << list.output;
    EXPECT_EQ(list.output.find("Warning"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find(" at 100 MHz"), std::string::npos) << list.output;
  }

  // Full at the first point: the files are left empty, not half written.
  Child first({"compute", pro.string(), "--freq", "100", "--far-field", "--theta", "0:90:0.5"},
              dir / "first.log", 20 * 1024);
  EXPECT_EQ(first.Wait(), 1);
  EXPECT_NE(ReadBytes(dir / "first.log").find("No results were kept."), std::string::npos)
      << ReadBytes(dir / "first.log");
  EXPECT_EQ(SizeOf(dir / "dipole.RAD"), 0u);
  EXPECT_EQ(SizeOf(dir / "dipole.XXX"), 0u);
}

TEST(ResultSurvival, AKilledSweepLeavesItsWholeBlocksReadable) {
  TempDir dir;
  CopyExample("dipole", dir);
  const auto pro = dir / "dipole.PRO", rad = dir / "dipole.RAD", xxx = dir / "dipole.XXX";
  // A fine pattern takes most of each point and is written in pieces of a
  // megabyte, so the file being written holds a part of its block most of the time.
  // One point at a time: points solved at once are written from memory when they
  // commit, which leaves a part block on disk only for an instant.
  constexpr std::size_t radBlock = FarFieldBlockBytes(181 * 361);
  // The kill must find a block in progress; the rare kill that lands between two
  // blocks is tried again.
  bool cut = false;
  for (int attempt = 0; attempt < 5 && !cut; ++attempt) {
    Child run({"compute", pro.string(), "--sweep", "100", "100000", "10", "--far-field", "--theta",
               "0:90:0.5", "--phi", "0:360:1", "--jobs", "1"},
              dir / "run.log");
    ASSERT_TRUE(PollUntil([&] {
      const std::uintmax_t size = SizeOf(rad);
      return WholeBlocks(xxx, CurrentFileFields).size() >= 3 && size > 2 * radBlock &&
             size % radBlock != 0;
    })) << ReadBytes(dir / "run.log");
    run.Kill();
    EXPECT_EQ(run.Wait(), -1);
    cut = SizeOf(rad) % radBlock != 0;
  }
  ASSERT_TRUE(cut);
  // The killed run's lock file may stay behind; it holds no lock.
  const std::vector<double> kept = WholeBlocks(rad, FarFieldFileFields);
  ASSERT_GE(kept.size(), 2u);
  EXPECT_EQ(kept.front(), 100.0);

  CliRun list = Cli(dir, "list " + pro.string() + " rad --freq 100");
  EXPECT_EQ(list.exitCode, 0) << list.output.substr(0, 2000);
  EXPECT_NE(list.output.find("Far-field at 100 MHz"), std::string::npos);
  const std::string warning = "Warning: The last block of file \"" + rad.string() +
                              "\" (from line " +
                              std::to_string(kept.size() * (1 + 181 * 361) + 1) +
                              ") is incomplete, left by an interrupted computation; it was "
                              "ignored.\n";
  EXPECT_NE(list.output.find(warning), std::string::npos) << list.output.substr(0, 2000);
  list = Cli(dir, "list " + pro.string() + " jx --freq 100");
  EXPECT_EQ(list.exitCode, 0) << list.output;
  EXPECT_NE(list.output.find("Jx-current at 100 MHz"), std::string::npos);

  // The far field is recomputed from the whole current blocks, into whole blocks.
  const CliRun farfield = Cli(dir, "farfield " + pro.string());
  EXPECT_EQ(farfield.exitCode, 0) << farfield.output;
  std::string tail;
  EXPECT_EQ(WholeBlocks(rad, FarFieldFileFields, &tail), WholeBlocks(xxx, CurrentFileFields));
  EXPECT_EQ(tail, "");
  EXPECT_FALSE(std::filesystem::exists(ProjectLockFile(pro)));
}

// The frequencies 100, 110, ... up to stop.
std::vector<double> Sweep(double stop) {
  std::vector<double> f;
  for (double v = 100; v <= stop; v += 10) f.push_back(v);
  return f;
}

TEST(ResultSurvival, ASecondRunOnABusyProjectIsRefusedAndTouchesNothing) {
  TempDir dir;
  CopyExample("dipole", dir);
  const auto pro = dir / "dipole.PRO", xxx = dir / "dipole.XXX";
  Child first({"compute", pro.string(), "--sweep", "100", "1500", "10", "--far-field"},
              dir / "first.log");
  // Its first block is out: it holds the lock from before it wrote anything.
  ASSERT_TRUE(PollUntil([&] { return !WholeBlocks(xxx, CurrentFileFields).empty(); }))
      << ReadBytes(dir / "first.log");
  const CliRun second = Cli(dir, "compute " + pro.string() + " --sweep 5000 5100 10");
  const int firstExit = first.Wait();
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_EQ(second.output, "Error: Project \"" + pro.string() +
                               "\" is being computed by another run; try again when it has "
                               "finished.\n");
  EXPECT_EQ(firstExit, 0) << ReadBytes(dir / "first.log");
  EXPECT_EQ(WholeBlocks(xxx, CurrentFileFields), Sweep(1500));
  EXPECT_EQ(WholeBlocks(dir / "dipole.RAD", FarFieldFileFields), Sweep(1500));

  // The far-field and near-field commands wait their turn the same way.
  auto lock = ProjectLock::TryTake(pro);
  ASSERT_TRUE(lock);
  const std::string rad = ReadBytes(dir / "dipole.RAD");
  for (const char* command : {"farfield ", "nearfield ", "compute "}) {
    const CliRun busy = Cli(dir, command + pro.string());
    EXPECT_EQ(busy.exitCode, 1) << command;
    EXPECT_NE(busy.output.find("is being computed by another run"), std::string::npos)
        << busy.output;
  }
  EXPECT_EQ(ReadBytes(dir / "dipole.RAD"), rad);
  EXPECT_FALSE(std::filesystem::exists(dir / "dipole.NFE"));
  lock.reset();
  EXPECT_EQ(Cli(dir, "nearfield " + pro.string()).exitCode, 0);
}

TEST(ResultSurvival, TwoRunsStartedTogetherComputeOnce) {
  TempDir dir;
  CopyExample("dipole", dir);
  const auto pro = dir / "dipole.PRO";
  // Long enough that the one that starts second finds the first still at work.
  const std::vector<std::string> arguments{"compute", pro.string(), "--sweep", "100", "3000", "10",
                                           "--far-field"};
  Child a(arguments, dir / "a.log");
  Child b(arguments, dir / "b.log");
  const int exitA = a.Wait(), exitB = b.Wait();
  ASSERT_EQ(exitA + exitB, 1) << ReadBytes(dir / "a.log") << ReadBytes(dir / "b.log");
  const std::string refused = ReadBytes(dir / (exitA == 1 ? "a.log" : "b.log"));
  EXPECT_EQ(refused, "Error: Project \"" + pro.string() +
                         "\" is being computed by another run; try again when it has finished.\n");
  EXPECT_EQ(ReadBytes(dir / (exitA == 0 ? "a.log" : "b.log")).find("Error"), std::string::npos);
  EXPECT_EQ(WholeBlocks(dir / "dipole.XXX", CurrentFileFields), Sweep(3000));
  EXPECT_EQ(WholeBlocks(dir / "dipole.RAD", FarFieldFileFields), Sweep(3000));
  EXPECT_FALSE(std::filesystem::exists(ProjectLockFile(pro)));
}

}  // namespace
}  // namespace lumetra
