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
#include <vector>

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

  // Before a sweep exchanges anything, every process says whether it is ready
  // (error empty) or why not, and all learn the first process that is not: its
  // SetUpFailedMessage, or none when all are ready. Collective: each command (each
  // batch job whose points are shared) takes part once on every process, at its
  // sweep's start, or at EndCommand / when the process leaves the run if it ended
  // before its sweep, so no process is left waiting for one that never comes. A
  // sweep whose agreement failed is not finished (Finish) by anyone.
  std::optional<std::string> AgreeOnSetUp(const std::string& error);
  // The end of a command or batch job on this process, why: its last message.
  void EndCommand(const std::string& why);

  // The end of a sweep, called by every process once per sweep whatever ended it.
  // Rank 0 ends the sweep for the others (and takes whatever they still send); a
  // solving process sees that through StopRequested() while it still works.
  virtual void Finish() = 0;
  // On a solving process: true once rank 0 has ended the sweep.
  virtual bool StopRequested() = 0;

protected:
  struct SetUpWord {
    bool Leaving = false;  // the process has left the run: no sweep of it will follow
    std::string Error;
  };
  // Every process's word, in rank order (a collective).
  virtual std::vector<SetUpWord> GatherSetUp(const SetUpWord& mine) = 0;
  // Leaving the run: the agreement of a command that ended before its sweep.
  void LeaveAgreement(const std::string& why);

private:
  std::optional<std::string> Agree(const std::string& error, bool leaving);

  bool agreed_ = false;              // this command has had its agreement
  std::optional<std::string> gone_;  // a process left the run: every later sweep fails so
};

// "Error: process 2 could not start the computation: <error>"
std::string SetUpFailedMessage(int rank, const std::string& error);

}  // namespace lumetra
