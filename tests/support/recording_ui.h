// A UserInterface for tests: records every message, question and status text and
// answers questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "model/user_interface.h"

namespace lumetra::testing {

class RecordingUi : public UserInterface {
public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view question) override;
  Answer AskYesNoCancel(std::string_view question) override;
  void SetStatusText(StatusPanel panel, std::string_view text) override;
  void SetBusy(bool busy) override { busy ? ++busyOn : ++busyOff; }
  void SetProgress(int position, int maximum) override;
  bool PumpEventsAndCheckAbort() override;
  void Beep() override { ++beeps; }

  // Answers given to the next questions, in order; Yes when the script runs dry.
  std::deque<Answer> answers;
  // Abort is reported from the n-th poll on (0: never).
  int abortAfterPolls = 0;

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> statusTexts;  // "<panel>:<text>"
  std::vector<std::pair<int, int>> progress;
  int busyOn = 0, busyOff = 0, polls = 0, beeps = 0;
};

}  // namespace lumetra::testing
