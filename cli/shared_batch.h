// Whole batch jobs shared by the processes of a lumetra-mpi run.
//
// A batch of at least as many jobs as processes keeps every process busier with
// whole jobs than with a share of each job's points: job j goes to process
// j mod N, which computes it alone (its points on its own cores) on a private copy
// of the job's project files. Rank 0 takes the jobs in order: its own it computes
// in place; of the others it receives what the job printed and the project files
// as the job left them, and writes and prints those, so the files and the output
// are the batch's in one process.
#pragma once

#include <ostream>
#include <vector>

#include "cli/job_file.h"
#include "studies/point_exchange.h"

namespace lumetra::cli {

// Whole jobs need at least as many jobs as processes, and no two jobs of one
// project (a later job of it starts from the files an earlier one left).
bool ShareWholeJobs(const std::vector<JobLine>& jobs, const PointExchange& exchange);

// "Error: process 2 failed at job boards/clock.PRO: <error>"
std::string ProcessFailedAtJobMessage(int rank, const std::string& job, const std::string& error);

// Runs the jobs as the batch does, each by runJob (the compute command), spread as
// above; every process calls it. True when every job succeeded. A job whose
// process failed is reported with ProcessFailedAtJobMessage and its result files
// are left empty, as a run that failed before its first point leaves them.
bool RunSharedJobs(const std::vector<JobLine>& jobs, PointExchange& exchange, std::ostream& out,
                   bool (*runJob)(const JobLine& job, std::ostream& out));

}  // namespace lumetra::cli
