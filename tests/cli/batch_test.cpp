// lumetra-cli batch: the job file's reader on hostile text, and whole batches as a
// script sees them (output, exit code, the result files left behind).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "cli/job_file.h"
#include "model/file_io.h"
#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/error_text.h"

namespace lumetra {
namespace {

using cli::JobLine;
using cli::ParseJobFile;
using cli::SplitJobLine;
using testing::Cli;
using testing::CopyExample;
using testing::CliRun;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Words = std::vector<std::string>;

// The FileError text of a job file that must be refused.
std::string Refusal(const std::string& content) {
  return testing::ErrorText<FileError>([&] { ParseJobFile(content, "night.jobs"); });
}

TEST(JobFile, WordsQuotesCommentsAndBlankLines) {
  EXPECT_EQ(SplitJobLine(" a.PRO\t--freq  300 "), (Words{"a.PRO", "--freq", "300"}));
  EXPECT_EQ(SplitJobLine("\"my boards/a b.PRO\" --far-field"),
            (Words{"my boards/a b.PRO", "--far-field"}));
  EXPECT_EQ(SplitJobLine("\"\" x"), (Words{"", "x"}));
  EXPECT_EQ(SplitJobLine("   "), Words{});

  const std::vector<JobLine> jobs =
      ParseJobFile("# sweeps for tonight\r\n\r\n  \t\r\na.PRO --freq 300\r\n   # indented note\n"
                   "\"b c.PRO\" --sweep 1 2 1",
                   "night.jobs");
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].Line, 4);
  EXPECT_EQ(jobs[0].Words, (Words{"a.PRO", "--freq", "300"}));
  EXPECT_EQ(jobs[1].Line, 6);
  EXPECT_EQ(jobs[1].Words, (Words{"b c.PRO", "--sweep", "1", "2", "1"}));
}

TEST(JobFile, MalformedFilesNameTheFileAndTheLine) {
  EXPECT_EQ(Refusal("a.PRO\n\"b.PRO --freq 3\n"),
            "Error in file \"night.jobs\", line 2: missing closing quote");
  EXPECT_EQ(Refusal("a\"b\".PRO\n"), "Error in file \"night.jobs\", line 1: a quote inside a "
                                     "word; put the whole word in quotes");
  EXPECT_EQ(Refusal("\"a\"b.PRO\n"),
            "Error in file \"night.jobs\", line 1: a closing quote must end its word");
  // A NUL would cut a path short where the system reads it; a lone CR is no line end.
  EXPECT_EQ(Refusal("ok.PRO\nx.PRO" + std::string(1, '\0') + "../../y\n"),
            "Error in file \"night.jobs\", line 2: control character in a word");
  EXPECT_EQ(Refusal("a.PRO\rb.PRO\n"),
            "Error in file \"night.jobs\", line 1: control character in a word");
  EXPECT_EQ(Refusal("x.PRO " + std::string(5000, 'y') + "\n"),
            "Error in file \"night.jobs\", line 1: line is too long");
  EXPECT_EQ(Refusal(""), "Error in file \"night.jobs\": it names no project");
  EXPECT_EQ(Refusal("# only a note\n\n"), "Error in file \"night.jobs\": it names no project");

  std::string many;
  for (std::size_t i = 0; i < cli::MaxBatchJobs; ++i) many += "p.PRO\n# note\n";
  EXPECT_EQ(ParseJobFile(many, "night.jobs").size(), cli::MaxBatchJobs);
  EXPECT_EQ(Refusal(many + "one.PRO too many\n"),
            "Error in file \"night.jobs\", line 2001: more than 1000 jobs in one file");
}


bool HasResults(const std::filesystem::path& pro) {
  auto with = [&](const char* ext) { return std::filesystem::path(pro).replace_extension(ext); };
  return std::filesystem::file_size(with(".XXX")) > 0 && std::filesystem::exists(with(".YYY"));
}

std::size_t Find(const std::string& text, const std::string& what) { return text.find(what); }

TEST(CliBatch, RunsEveryJobInOrderWithoutAQuestion) {
  TempDir dir;
  CopyExample("dipole", dir / "boards" / "dipole");
  CopyExample("short-dipole", dir / "boards" / "short");
  // Relative to the job file, not to where the command is given: projects and lists.
  WriteBytes(dir / "boards" / "sweep.txt", "1400\n1420\n");
  WriteBytes(dir / "boards" / "night.jobs",
             "# tonight\n\n"
             "dipole/dipole.PRO --freq-list sweep.txt\n"
             "  # the small one with its pattern\n"
             "short/short-dipole.PRO --freq 300 --far-field --theta 0:90:15 --phi 0:90:30\n");
  const CliRun run = Cli(dir, "batch " + (dir / "boards" / "night.jobs").string());
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string& out = run.output;
  const std::size_t first = Find(out, "--> dipole/dipole.PRO\n");
  const std::size_t firstDone = Find(out, "Done dipole/dipole.PRO\n");
  const std::size_t second = Find(out, "--> short/short-dipole.PRO\n");
  const std::size_t secondDone = Find(out, "Done short/short-dipole.PRO\n");
  ASSERT_NE(secondDone, std::string::npos) << out;
  EXPECT_TRUE(first < firstDone && firstDone < second && second < secondDone) << out;
  EXPECT_NE(Find(out.substr(first, firstDone - first), "49 unknowns"), std::string::npos) << out;
  EXPECT_NE(Find(out.substr(first, firstDone - first), "        1420 "), std::string::npos) << out;
  EXPECT_EQ(Find(out, "?"), std::string::npos) << out;  // nothing was asked
  EXPECT_TRUE(HasResults(dir / "boards" / "dipole" / "dipole.PRO"));
  EXPECT_TRUE(HasResults(dir / "boards" / "short" / "short-dipole.PRO"));
  EXPECT_GT(std::filesystem::file_size(dir / "boards" / "short" / "short-dipole.RAD"), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir / "boards" / "dipole" / "dipole.RAD"));
}

TEST(CliBatch, AMalformedLineStopsTheBatchBeforeAnythingRuns) {
  TempDir dir;
  CopyExample("dipole", dir.path());
  const std::string jobs = (dir / "bad.jobs").string();
  WriteBytes(dir / "bad.jobs",
             "dipole.PRO --freq 1400\n"
             "# fine so far\n"
             "dipole.PRO --sweep 1400 1420\n"
             "dipole.PRO --freq 1420\n");
  CliRun run = Cli(dir, "batch " + jobs);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.output, "Error in file \"" + jobs + "\", line 3: --sweep needs 3 value(s)\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "dipole.XXX"));

  // Unknown options, a line without its project, a broken quote: the same.
  WriteBytes(dir / "bad.jobs", "dipole.PRO --freq 1400\ndipole.PRO --frequency 1400\n");
  run = Cli(dir, "batch " + jobs);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(Find(run.output, "line 2: unexpected argument \"--frequency\""), std::string::npos)
      << run.output;
  WriteBytes(dir / "bad.jobs", "--freq 1400 dipole.PRO\n");
  run = Cli(dir, "batch " + jobs);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(Find(run.output, "line 1: the line must begin with its project file"),
            std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(dir / "dipole.XXX"));

  run = Cli(dir, "batch " + (dir / "missing.jobs").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(Find(run.output, "missing.jobs"), std::string::npos) << run.output;
}

TEST(CliBatch, AFailedJobIsReportedAndTheNextOneStillRuns) {
  TempDir dir;
  CopyExample("dipole", dir / "my boards");
  CopyExample("short-dipole", dir.path());
  WriteBytes(dir / "night.jobs",
             "gone.PRO --freq 300\n"
             "short-dipole.PRO --freq 0\n"
             "\"my boards/dipole.PRO\" --freq 1420\n");
  const CliRun run = Cli(dir, "batch " + (dir / "night.jobs").string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(Find(run.output, "--> gone.PRO\nCannot open file"), std::string::npos) << run.output;
  EXPECT_NE(Find(run.output, "--> short-dipole.PRO\n"
                             "Error: Out of range! Frequency must be greater than 0\n"
                             "Done short-dipole.PRO\n"),
            std::string::npos) << run.output;
  EXPECT_NE(Find(run.output, "Done my boards/dipole.PRO\n"), std::string::npos) << run.output;
  EXPECT_TRUE(HasResults(dir / "my boards" / "dipole.PRO"));
  EXPECT_FALSE(std::filesystem::exists(dir / "short-dipole.XXX"));
}

}  // namespace
}  // namespace lumetra
