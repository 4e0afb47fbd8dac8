// The core's user interface for a terminal: messages are printed, questions are
// never put to anyone. A question is printed with the answer the run gives it
// (No unless the command was told to overwrite), so a script sees what happened.
#pragma once

#include <iosfwd>

#include "model/user_interface.h"

namespace lumetra::cli {

class TerminalUi : public UserInterface {
public:
  TerminalUi(std::ostream& out, bool answerYes) : out_(out), answerYes_(answerYes) {}

  void ShowMessage(std::string_view text) override;
  // On standard error, so that a listing on standard output stays clean; not
  // counted as a message, since the command went on.
  void ShowWarning(std::string_view text) override;
  bool AskYesNo(std::string_view question) override;
  Answer AskYesNoCancel(std::string_view question) override;
  void SetStatusText(StatusPanel, std::string_view) override {}
  void SetBusy(bool) override {}
  void SetProgress(int, int) override {}
  bool PumpEventsAndCheckAbort() override { return false; }

  // Whether any message was shown; a command that showed one reports failure.
  int MessageCount() const { return messages_; }

private:
  std::ostream& out_;
  bool answerYes_;
  int messages_ = 0;
};

}  // namespace lumetra::cli
