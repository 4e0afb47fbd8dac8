#include "studies/point_exchange.h"

namespace lumetra {

namespace {

constexpr const char* EndedEarly = "its command ended before the computation";

}  // namespace

std::string SetUpFailedMessage(int rank, const std::string& error) {
  return "Error: process " + std::to_string(rank) + " could not start the computation: " + error;
}

std::optional<std::string> PointExchange::Agree(const std::string& error, bool leaving) {
  if (gone_) return gone_;
  const std::vector<SetUpWord> words = GatherSetUp({leaving, error});
  std::optional<std::string> failure;
  for (std::size_t r = 0; r < words.size() && !failure; ++r)
    if (!words[r].Error.empty()) failure = SetUpFailedMessage(static_cast<int>(r), words[r].Error);
  for (std::size_t r = 0; r < words.size() && !failure; ++r)
    if (words[r].Leaving) failure = SetUpFailedMessage(static_cast<int>(r), EndedEarly);
  for (const SetUpWord& word : words)
    if (word.Leaving) gone_ = failure;
  return failure;
}

std::optional<std::string> PointExchange::AgreeOnSetUp(const std::string& error) {
  agreed_ = true;
  return Agree(error, false);
}

void PointExchange::EndCommand(const std::string& why) {
  if (!agreed_) Agree(why.empty() ? EndedEarly : why, false);
  agreed_ = false;
}

void PointExchange::LeaveAgreement(const std::string& why) {
  if (!agreed_) Agree(why.empty() ? EndedEarly : why, true);
  agreed_ = false;
}

}  // namespace lumetra
