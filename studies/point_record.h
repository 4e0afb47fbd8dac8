// What one frequency point of a sweep leaves for its commit when it was solved
// elsewhere (a worker thread or another process): its readings, its messages, its
// result-file blocks and what its study keeps of it. The commit on the calling
// thread writes and shows these in frequency order, as the one-at-a-time run does.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "studies/deferred_user_interface.h"
#include "studies/system_assembly.h"

namespace lumetra {

struct PointRecord {
  bool Solved = false;     // false: the matrices could not be created (message kept)
  bool Stopped = false;    // the point failed (message kept) or was aborted
  std::string WriteError;  // a result file could not be written: the error
  std::string Failure;     // anything else that ended the point, as text
  FrequencyPointResult Result;
  std::vector<DeferredMessage> Messages;
  std::vector<std::string> Blocks;  // the point's block of each file of ComputationResultFiles
  std::string Kept;                 // what the study keeps of the point (its own encoding)
};

std::string EncodePointRecord(const PointRecord& record);
// Throws std::runtime_error for bytes that are not a whole record.
PointRecord DecodePointRecord(std::string_view bytes);

// The text of what ended a point on a worker: its exception's message.
std::string FailureText(const std::exception_ptr& failure);

class PointExchange;
// On rank 0: point `index` as its process sent it, or with the failure that stands
// for it (a record that does not decode, or a process that will not send it); false
// while neither has come.
bool ReceivePointRecord(PointExchange& exchange, std::size_t index, PointRecord& record);

}  // namespace lumetra
