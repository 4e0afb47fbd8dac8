// lumetra-mpi: lumetra-cli's computing commands over the processes of an MPI run.
//
//   mpirun -np N lumetra-mpi compute|emission|immunity|network|batch ARGUMENTS
//
// Every process runs the same command line. The frequency points of each sweep
// are dealt out by their index (point i to rank i mod N), every process solving
// its share on all of its cores; rank 0 gathers them, writes every result file and
// output, and prints; an emission run's spectral lines are dealt out the same way.
// A batch of at least as many jobs as processes deals out whole jobs (job j to rank
// j mod N, cli/shared_batch.h); a shorter one runs its jobs in turn, each job's
// points spread. Before each sweep every process says whether it could set it up
// (PointExchange::AgreeOnSetUp). The exit code is rank 0's; the other processes
// print nothing.
#include <mpi.h>

#include <cstring>
#include <iostream>
#include <map>
#include <streambuf>
#include <string>

#include "cli/arguments.h"
#include "cli/batch_command.h"
#include "cli/compute_command.h"
#include "cli/emission_command.h"
#include "cli/frequency_options.h"
#include "cli/immunity_command.h"
#include "cli/network_command.h"
#include "model/batch_mode.h"
#include "mpi/mpi_exchange.h"

namespace {

using Command = int (*)(lumetra::cli::Arguments&, std::ostream&);

const char* const Usage =
    "usage: mpirun -np N lumetra-mpi compute|emission|immunity|network|batch ARGUMENTS\n"
    "  the arguments of lumetra-cli's command of that name (lumetra-cli --help); the\n"
    "  frequency points (of every batch job) and the spectral lines of an emission\n"
    "  run are shared by the processes, rank 0\n"
    "  writes the files and prints\n";

// Swallows what the processes other than rank 0 would print, keeping its last
// line: why the command ended there, for the others if it ended before its sweep.
class Discard : public std::streambuf {
public:
  const std::string& LastLine() const { return line_.empty() ? last_ : line_; }

protected:
  int overflow(int c) override {
    if (c == '\n') {
      if (!line_.empty()) last_ = std::move(line_);
      line_.clear();
    } else if (c != traits_type::eof()) {
      line_ += static_cast<char>(c);
    }
    return c;
  }

private:
  std::string line_, last_;
};

int RunCommand(Command command, const char* name, int argc, char** argv, std::ostream& out,
               std::string& failure) {
  lumetra::cli::Arguments args(std::vector<std::string>(argv + 2, argv + argc));
  try {
    return command(args, out);
  } catch (const lumetra::cli::UsageError& error) {
    std::cerr << "lumetra-mpi " << name << ": " << error.what() << "\n" << Usage;
    return lumetra::cli::ExitUsage;
  } catch (const std::exception& error) {
    failure = error.what();
    std::cerr << "lumetra-mpi " << name << ": " << failure << "\n";
    return lumetra::cli::ExitReportedError;
  }
}

}  // namespace

int main(int argc, char** argv) {
  int provided = 0;
  MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
  lumetra::mpi::MpiPointExchange exchange;
  const bool first = exchange.Rank() == 0;
  Discard discard;
  std::ostream nowhere(&discard);
  std::streambuf* const coutBuffer = std::cout.rdbuf();
  std::streambuf* const cerrBuffer = std::cerr.rdbuf();
  if (!first) {
    std::cout.rdbuf(&discard);
    std::cerr.rdbuf(&discard);
  }

  const std::map<std::string, Command> commands = {
      {"compute", lumetra::cli::RunCompute},   {"emission", lumetra::cli::RunEmissionCommand},
      {"immunity", lumetra::cli::RunImmunityCommand}, {"network", lumetra::cli::RunNetworkCommand},
      {"batch", lumetra::cli::RunBatch},
  };
  int code = lumetra::cli::ExitUsage;
  std::string failure;
  const auto command = argc >= 2 ? commands.find(argv[1]) : commands.end();
  if (command == commands.end()) {
    if (argc >= 2 && std::strcmp(argv[1], "--help") != 0)
      std::cerr << "lumetra-mpi: unknown command \"" << argv[1] << "\"\n";
    std::cout << Usage;
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) code = lumetra::cli::ExitOk;
  } else {
    lumetra::BatchMode = true;  // no questions, no dialogs
    if (exchange.Size() > 1) lumetra::cli::SharedSweepExchange = &exchange;
    code = RunCommand(command->second, argv[1], argc, argv, first ? std::cout : nowhere, failure);
  }
  lumetra::BatchMode = true;
  if (failure.empty() && code != lumetra::cli::ExitOk) failure = discard.LastLine();
  exchange.Leave(failure);
  std::cout.flush();
  MPI_Barrier(MPI_COMM_WORLD);
  MPI_Finalize();
  std::cout.rdbuf(coutBuffer);  // the streams outlive `discard`
  std::cerr.rdbuf(cerrBuffer);
  return first ? code : 0;
}
