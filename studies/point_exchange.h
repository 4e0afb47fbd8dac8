// Several processes sharing the frequency points of a sweep (lumetra-mpi).
//
// Process r of n solves the points whose index in the sweep is r modulo n, each
// with the inputs a one-process run gives that index. The first process (rank 0)
// alone writes: it receives every other process's points as encoded records
// (studies/point_record.h) and commits all of them in frequency order, so the
// result files are those of a run in one process. The core knows only this
// interface; lumetra-mpi implements it over MPI.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace lumetra {

class PointExchange {
public:
  virtual ~PointExchange() = default;

  virtual int Rank() const = 0;
  virtual int Size() const = 0;
  bool Commits() const { return Rank() == 0; }
  bool Solves(std::size_t index) const {
    return index % static_cast<std::size_t>(Size()) == static_cast<std::size_t>(Rank());
  }

  // On a solving process: hands the record of point `index` to rank 0 (blocks until
  // rank 0 takes it).
  virtual void Send(std::size_t index, const std::string& record) = 0;
  // On rank 0: the record of point `index` once its process has sent it.
  virtual std::optional<std::string> TryReceive(std::size_t index) = 0;
  // On a solving process that failed outside its points (its copy of the project
  // could not be made): the error rank 0 reports for the point it waits for.
  virtual void SendFailure(const std::string& error) = 0;
  // On rank 0: why the process of point `index` will not send it (it failed, or
  // ended its part of the sweep without it), if so.
  virtual std::optional<std::string> TryReceiveFailure(std::size_t index) = 0;

  // The end of a sweep, called by every process once per sweep whatever ended it.
  // Rank 0 ends the sweep for the others (and takes whatever they still send); a
  // solving process sees that through StopRequested() while it still works.
  virtual void Finish() = 0;
  // On a solving process: true once rank 0 has ended the sweep.
  virtual bool StopRequested() = 0;
};

}  // namespace lumetra
