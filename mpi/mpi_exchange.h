// The points of every sweep of a lumetra-mpi run shared over the processes of
// MPI_COMM_WORLD (studies/point_exchange.h says who solves and who commits).
//
// Messages, all between rank 0 and one other rank, in order on each pair:
//   point record   r -> 0, tag PointTag + index: the encoded record of that point
//   failure        r -> 0: r failed outside its points (text)
//   done           r -> 0: r has ended its part of the sweep
//   stop           0 -> r: the sweep is over (rank 0 ended it); r answers with done
//   left           r -> 0: r has run its command to the end and leaves the run
// and one collective, the set-up agreement before each sweep (MPI_Allgatherv).
// Only the calling thread of each process talks to MPI.
#pragma once

#include <mpi.h>

#include <string>
#include <vector>

#include "studies/point_exchange.h"

namespace lumetra::mpi {

class MpiPointExchange final : public PointExchange {
public:
  MpiPointExchange();

  int Rank() const override { return rank_; }
  int Size() const override { return size_; }
  void Send(std::size_t index, const std::string& record) override;
  std::optional<std::string> TryReceive(std::size_t index) override;
  void SendFailure(const std::string& error) override;
  std::optional<std::string> TryReceiveFailure(std::size_t index) override;
  void Finish() override;
  bool StopRequested() override;

  // At the end of the run, on every process: the others say they leave (with why,
  // when their command failed), rank 0 takes their word and anything they still sent.
  void Leave(const std::string& why = {});

protected:
  std::vector<SetUpWord> GatherSetUp(const SetUpWord& mine) override;

private:
  int rank_ = 0, size_ = 1;
  bool stopSeen_ = false;                 // a solving process: rank 0's stop has arrived
  std::vector<std::string> failures_;    // rank 0: why a process sends no more points
  std::vector<char> doneThisSweep_, left_;
};

}  // namespace lumetra::mpi
