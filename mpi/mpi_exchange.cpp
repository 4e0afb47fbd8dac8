#include "mpi/mpi_exchange.h"

#include <climits>

namespace lumetra::mpi {

namespace {

constexpr int FailureTag = 1;
constexpr int DoneTag = 2;
constexpr int StopTag = 3;
constexpr int LeftTag = 4;
constexpr int PointTag = 16;

int TagOf(std::size_t index) { return PointTag + static_cast<int>(index % (INT_MAX / 2)); }

void SendText(const std::string& text, int to, int tag) {
  MPI_Send(text.data(), static_cast<int>(text.size()), MPI_CHAR, to, tag, MPI_COMM_WORLD);
}

// The message already known to be there (probed).
std::string ReceiveText(const MPI_Status& probed) {
  int count = 0;
  MPI_Get_count(&probed, MPI_CHAR, &count);
  std::string text(static_cast<std::size_t>(count), '\0');
  MPI_Recv(text.data(), count, MPI_CHAR, probed.MPI_SOURCE, probed.MPI_TAG, MPI_COMM_WORLD,
           MPI_STATUS_IGNORE);
  return text;
}

bool Probe(int from, int tag, MPI_Status& status) {
  int flag = 0;
  MPI_Iprobe(from, tag, MPI_COMM_WORLD, &flag, &status);
  return flag != 0;
}

}  // namespace

MpiPointExchange::MpiPointExchange() {
  MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
  MPI_Comm_size(MPI_COMM_WORLD, &size_);
  failures_.assign(static_cast<std::size_t>(size_), {});
  doneThisSweep_.assign(static_cast<std::size_t>(size_), 0);
  left_.assign(static_cast<std::size_t>(size_), 0);
}

void MpiPointExchange::Send(std::size_t index, const std::string& record) {
  SendText(record, 0, TagOf(index));
}

std::optional<std::string> MpiPointExchange::TryReceive(std::size_t index) {
  const int from = static_cast<int>(index % static_cast<std::size_t>(size_));
  MPI_Status status;
  if (!Probe(from, TagOf(index), status)) return std::nullopt;
  return ReceiveText(status);
}

void MpiPointExchange::SendFailure(const std::string& error) { SendText(error, 0, FailureTag); }

std::optional<std::string> MpiPointExchange::TryReceiveFailure(std::size_t index) {
  const auto from = index % static_cast<std::size_t>(size_);
  std::string& failure = failures_[from];
  MPI_Status status;
  if (failure.empty()) {
    if (left_[from]) {
      failure = "it had left the run";
    } else if (Probe(static_cast<int>(from), FailureTag, status)) {
      failure = ReceiveText(status);
      if (failure.empty()) failure = "unknown failure";
    } else if (Probe(static_cast<int>(from), DoneTag, status)) {
      ReceiveText(status);
      doneThisSweep_[from] = 1;
      failure = "it ended its part of the sweep early";
    } else if (Probe(static_cast<int>(from), LeftTag, status)) {
      const std::string why = ReceiveText(status);
      left_[from] = 1;
      failure = why.empty() ? "it left the run" : why;
    }
  }
  if (failure.empty()) return std::nullopt;
  return failure;
}

void MpiPointExchange::Finish() {
  if (rank_ != 0) {
    SendText({}, 0, DoneTag);
    MPI_Status status;
    MPI_Probe(0, StopTag, MPI_COMM_WORLD, &status);
    ReceiveText(status);
    stopSeen_ = false;
    return;
  }
  for (int r = 1; r < size_; ++r)
    if (!left_[static_cast<std::size_t>(r)]) SendText({}, r, StopTag);
  // Whatever the others still send of this sweep goes unread, up to their done.
  for (int r = 1; r < size_; ++r) {
    const auto k = static_cast<std::size_t>(r);
    while (!doneThisSweep_[k] && !left_[k]) {
      MPI_Status status;
      MPI_Probe(r, MPI_ANY_TAG, MPI_COMM_WORLD, &status);
      ReceiveText(status);
      if (status.MPI_TAG == DoneTag) doneThisSweep_[k] = 1;
      if (status.MPI_TAG == LeftTag) left_[k] = 1;
    }
    doneThisSweep_[k] = 0;
    failures_[k].clear();
  }
}

bool MpiPointExchange::StopRequested() {
  MPI_Status status;
  if (!stopSeen_ && rank_ != 0) stopSeen_ = Probe(0, StopTag, status);
  return stopSeen_;
}

std::vector<PointExchange::SetUpWord> MpiPointExchange::GatherSetUp(const SetUpWord& mine) {
  const std::string bytes = (mine.Leaving ? "L" : "R") + mine.Error;
  const int length = static_cast<int>(bytes.size());
  std::vector<int> lengths(static_cast<std::size_t>(size_)), offsets(lengths.size());
  MPI_Allgather(&length, 1, MPI_INT, lengths.data(), 1, MPI_INT, MPI_COMM_WORLD);
  int total = 0;
  for (std::size_t r = 0; r < lengths.size(); ++r) {
    offsets[r] = total;
    total += lengths[r];
  }
  std::string all(static_cast<std::size_t>(total), '\0');
  MPI_Allgatherv(bytes.data(), length, MPI_CHAR, all.data(), lengths.data(), offsets.data(),
                 MPI_CHAR, MPI_COMM_WORLD);
  std::vector<SetUpWord> words;
  for (std::size_t r = 0; r < lengths.size(); ++r) {
    const std::string word = all.substr(static_cast<std::size_t>(offsets[r]),
                                        static_cast<std::size_t>(lengths[r]));
    words.push_back({!word.empty() && word[0] == 'L', word.empty() ? "" : word.substr(1)});
  }
  return words;
}

void MpiPointExchange::Leave(const std::string& why) {
  LeaveAgreement(why);
  if (rank_ != 0) {
    SendText(why, 0, LeftTag);
    return;
  }
  for (int r = 1; r < size_; ++r)
    while (!left_[static_cast<std::size_t>(r)]) {
      MPI_Status status;
      MPI_Probe(r, MPI_ANY_TAG, MPI_COMM_WORLD, &status);
      ReceiveText(status);
      if (status.MPI_TAG == LeftTag) left_[static_cast<std::size_t>(r)] = 1;
    }
}

}  // namespace lumetra::mpi
