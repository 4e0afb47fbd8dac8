#include "cli/shared_batch.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <thread>

#include "fields/result_files.h"
#include "model/file_io.h"
#include "model/private_directory.h"
#include "studies/byte_record.h"

namespace lumetra::cli {

namespace {

namespace fs = std::filesystem;

// What a job computed elsewhere leaves for rank 0.
struct JobRecord {
  bool Succeeded = false;
  std::string Printed;
  std::string Warned;  // what it wrote to standard error (warnings)
  std::vector<std::pair<std::string, std::string>> Files;  // name, content
  std::vector<std::string> Removed;                        // names the job deleted
};

std::string Encode(const JobRecord& record) {
  ByteWriter out;
  out.Put(record.Succeeded);
  out.PutText(record.Printed);
  out.PutText(record.Warned);
  out.Put(static_cast<std::uint64_t>(record.Files.size()));
  for (const auto& [name, content] : record.Files) {
    out.PutText(name);
    out.PutText(content);
  }
  out.Put(static_cast<std::uint64_t>(record.Removed.size()));
  for (const std::string& name : record.Removed) out.PutText(name);
  return out.Take();
}

JobRecord Decode(std::string_view bytes) {
  ByteReader in(bytes);
  JobRecord record;
  record.Succeeded = in.Get<bool>();
  record.Printed = in.GetText();
  record.Warned = in.GetText();
  for (std::uint64_t n = in.GetCount(2 * sizeof(std::uint64_t)); n > 0; --n) {
    std::string name = in.GetText();
    record.Files.emplace_back(std::move(name), in.GetText());
  }
  for (std::uint64_t n = in.GetCount(sizeof(std::uint64_t)); n > 0; --n)
    record.Removed.push_back(in.GetText());
  in.ExpectEnd();
  return record;
}

// The files of a project: those beside it with its name, whatever their extension.
std::set<std::string> ProjectFiles(const fs::path& project) {
  std::set<std::string> names;
  std::error_code error;
  const fs::path directory = project.parent_path().empty() ? fs::path(".") : project.parent_path();
  for (const fs::directory_entry& entry : fs::directory_iterator(directory, error))
    if (entry.is_regular_file() && entry.path().stem() == project.stem() &&
        entry.path().extension() != ".LCK")
      names.insert(entry.path().filename().string());
  return names;
}

// While it lives, what is written to `stream` goes to `into`.
class StreamTaken {
public:
  StreamTaken(std::ostream& stream, std::ostream& into)
      : stream_(stream), previous_(stream.rdbuf(into.rdbuf())) {}
  ~StreamTaken() { stream_.rdbuf(previous_); }
  StreamTaken(const StreamTaken&) = delete;
  StreamTaken& operator=(const StreamTaken&) = delete;

private:
  std::ostream& stream_;
  std::streambuf* previous_;
};

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// The job on a private copy of its project files, as rank 0 will write them.
JobRecord ComputeElsewhere(const JobLine& job, bool (*runJob)(const JobLine&, std::ostream&)) {
  const fs::path project = job.Words.front();
  const PrivateDirectory directory("lumetra-job-");
  const fs::path source = project.parent_path().empty() ? fs::path(".") : project.parent_path();
  const std::set<std::string> before = ProjectFiles(project);
  for (const std::string& name : before) fs::copy_file(source / name, directory.Path() / name);
  JobLine own = job;
  const fs::path copy = directory.Path() / project.filename();
  own.Words.front() = copy.string();
  std::ostringstream printed, warned;
  JobRecord record;
  {
    const StreamTaken taken(std::cerr, warned);
    record.Succeeded = runJob(own, printed);
  }
  record.Warned = warned.str();
  // The messages name the project where the batch has it.
  record.Printed = printed.str();
  ReplaceAll(record.Printed, copy.string(), project.string());
  ReplaceAll(record.Printed, directory.Path().string(), source.string());
  const std::set<std::string> after = ProjectFiles(copy);
  for (const std::string& name : after)
    record.Files.emplace_back(name, ReadTextFile(directory.Path() / name));
  for (const std::string& name : before)
    if (!after.contains(name)) record.Removed.push_back(name);
  return record;
}

// Rank 0: a job computed elsewhere, into the project's files and the output.
bool CommitElsewhere(const JobRecord& record, const JobLine& job, std::ostream& out) {
  const fs::path project = job.Words.front();
  const fs::path directory = project.parent_path();
  for (const auto& [name, content] : record.Files) {
    FileWriter writer(directory / name);
    writer.Write(content);
    writer.Commit();
  }
  for (const std::string& name : record.Removed) {
    std::error_code ignored;
    fs::remove(directory / name, ignored);
  }
  out << record.Printed;
  std::cerr << record.Warned;
  return record.Succeeded;
}

}  // namespace

bool ShareWholeJobs(const std::vector<JobLine>& jobs, const PointExchange& exchange) {
  if (exchange.Size() < 2 || jobs.size() < static_cast<std::size_t>(exchange.Size())) return false;
  std::set<fs::path> projects;
  for (const JobLine& job : jobs) {
    std::error_code error;
    fs::path path = fs::weakly_canonical(job.Words.front(), error);
    if (error) path = job.Words.front();
    if (!projects.insert(path).second) return false;
  }
  return true;
}

std::string ProcessFailedAtJobMessage(int rank, const std::string& job, const std::string& error) {
  std::string text = "Error: process " + std::to_string(rank) + " failed at job " + job;
  if (!error.empty()) text += ": " + error;
  return text;
}

bool RunSharedJobs(const std::vector<JobLine>& jobs, PointExchange& exchange, std::ostream& out,
                   bool (*runJob)(const JobLine& job, std::ostream& out)) {
  bool allSucceeded = true;
  if (const std::optional<std::string> failed = exchange.AgreeOnSetUp({})) {
    out << *failed << '\n';
    return false;
  }
  // Every process ends the exchange's sweep of jobs once, however it ends.
  struct SweepEnd {
    PointExchange& exchange;
    ~SweepEnd() { exchange.Finish(); }
  } const end{exchange};
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    const JobLine& job = jobs[j];
    const std::string& name = job.Words.front();
    if (!exchange.Commits()) {
      if (!exchange.Solves(j)) continue;
      if (exchange.StopRequested()) break;
      try {
        exchange.Send(j, Encode(ComputeElsewhere(job, runJob)));
      } catch (const std::exception& error) {
        exchange.SendFailure(error.what());
        break;
      }
      continue;
    }
    out << "--> " << name << std::endl;
    bool succeeded = false;
    if (exchange.Solves(j)) {
      succeeded = runJob(job, out);
    } else {
      std::optional<std::string> failure;
      for (;;) {
        if (const std::optional<std::string> bytes = exchange.TryReceive(j)) {
          try {
            succeeded = CommitElsewhere(Decode(*bytes), job, out);
          } catch (const std::exception& error) {
            failure = error.what();
          }
          break;
        }
        if ((failure = exchange.TryReceiveFailure(j))) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (failure) {
        const auto rank = static_cast<int>(j % static_cast<std::size_t>(exchange.Size()));
        out << ProcessFailedAtJobMessage(rank, name, *failure) << '\n';
        try {
          CreateEmptyResultFiles(name);
        } catch (const FileError& error) {
          out << error.what() << '\n';
        }
      }
    }
    out << "Done " << name << std::endl;
    if (!succeeded) allSucceeded = false;
  }
  return allSucceeded;
}

}  // namespace lumetra::cli
