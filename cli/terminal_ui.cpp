#include "cli/terminal_ui.h"

#include <iostream>
#include <ostream>

namespace lumetra::cli {

void TerminalUi::ShowMessage(std::string_view text) {
  out_ << text << '\n';
  ++messages_;
}

void TerminalUi::ShowWarning(std::string_view text) { std::cerr << text << '\n'; }

bool TerminalUi::AskYesNo(std::string_view question) {
  out_ << question << (answerYes_ ? " Yes" : " No (use --force to answer Yes)") << '\n';
  return answerYes_;
}

Answer TerminalUi::AskYesNoCancel(std::string_view question) {
  out_ << question << (answerYes_ ? " Yes" : " No") << '\n';
  return answerYes_ ? Answer::Yes : Answer::No;
}

}  // namespace lumetra::cli
