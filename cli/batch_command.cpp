#include "cli/batch_command.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "cli/compute_command.h"
#include "cli/frequency_options.h"
#include "cli/job_file.h"
#include "cli/shared_batch.h"
#include "model/file_io.h"

namespace lumetra::cli {

namespace {

// The job file's directory is the working directory while the batch runs, so the
// relative paths in it mean what its author saw beside it.
class WorkingDirectory {
public:
  explicit WorkingDirectory(const std::filesystem::path& directory)
      : previous_(std::filesystem::current_path()) {
    if (!directory.empty()) std::filesystem::current_path(directory);
  }
  ~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
  std::filesystem::path previous_;
};

// While it lives, the commands of the jobs compute in this process alone.
class ExchangeLent {
public:
  ExchangeLent() : exchange_(SharedSweepExchange) { SharedSweepExchange = nullptr; }
  ~ExchangeLent() { SharedSweepExchange = exchange_; }
  ExchangeLent(const ExchangeLent&) = delete;
  ExchangeLent& operator=(const ExchangeLent&) = delete;

private:
  PointExchange* exchange_;
};

// Every line must be a compute command line; the first malformed one ends the batch
// before anything ran.
void CheckJobs(const std::vector<JobLine>& jobs, const std::string& fileName) {
  for (const JobLine& job : jobs) {
    const auto fail = [&](const std::string& reason) {
      throw UsageError("Error in file \"" + fileName + "\", line " + std::to_string(job.Line) +
                       ": " + reason);
    };
    if (job.Words.front().starts_with("--"))
      fail("the line must begin with its project file, not \"" + job.Words.front() + "\"");
    try {
      CheckComputeArguments(Arguments(job.Words));
    } catch (const UsageError& error) {
      fail(error.what());
    }
  }
}

// One job as "lumetra-cli compute" runs it; true when it succeeded.
bool RunJob(const JobLine& job, std::ostream& out) {
  Arguments args(job.Words);
  try {
    return RunCompute(args, out) == ExitOk;
  } catch (const std::exception& error) {
    // Whatever ends one job, the next ones still run.
    out << error.what() << '\n';
    return false;
  }
}

// A job whose points the processes share: it takes part in the set-up agreement
// even when it ended before its sweep, with its last words as the reason.
bool RunSharedPointsJob(const JobLine& job, PointExchange& exchange, std::ostream& out) {
  std::ostringstream printed;
  const bool succeeded = RunJob(job, printed);
  const std::string text = printed.str();
  out << text << std::flush;
  const std::string words = text.substr(0, text.find_last_not_of('\n') + 1);
  exchange.EndCommand(words.substr(words.rfind('\n') + 1));
  return succeeded;
}

}  // namespace

int RunBatch(Arguments& args, std::ostream& out) {
  const std::filesystem::path path = args.Take("job file");
  args.ExpectEnd();
  const std::string fileName = path.string();
  // A file that cannot be read is reported like a project that cannot; a malformed
  // one is a malformed command line.
  std::string content;
  try {
    content = ReadTextFile(path, MaxJobFileBytes);
  } catch (const FileError& error) {
    out << error.what() << '\n';
    return ExitReportedError;
  }
  std::vector<JobLine> jobs;
  try {
    jobs = ParseJobFile(content, fileName);
  } catch (const FileError& error) {
    std::cerr << error.what() << '\n';
    return ExitUsage;
  }

  try {
    const WorkingDirectory here(path.parent_path());
    try {
      CheckJobs(jobs, fileName);
    } catch (const UsageError& error) {
      std::cerr << error.what() << '\n';
      return ExitUsage;
    }
    if (SharedSweepExchange && ShareWholeJobs(jobs, *SharedSweepExchange)) {
      // Each job computes alone in its process: no sweep of it is shared.
      PointExchange& exchange = *SharedSweepExchange;
      const ExchangeLent lent;
      return RunSharedJobs(jobs, exchange, out, RunJob) ? ExitOk : ExitReportedError;
    }
    bool allSucceeded = true;
    for (const JobLine& job : jobs) {
      out << "--> " << job.Words.front() << std::endl;
      if (!(SharedSweepExchange ? RunSharedPointsJob(job, *SharedSweepExchange, out)
                                : RunJob(job, out)))
        allSucceeded = false;
      out << "Done " << job.Words.front() << std::endl;
    }
    return allSucceeded ? ExitOk : ExitReportedError;
  } catch (const std::filesystem::filesystem_error& error) {  // the job file's directory
    out << "Cannot change to the directory of \"" << fileName << "\". " << error.code().message()
        << '\n';
    return ExitReportedError;
  }
}

}  // namespace lumetra::cli
