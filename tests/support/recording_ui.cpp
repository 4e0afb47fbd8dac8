#include "tests/support/recording_ui.h"

namespace lumetra::testing {

namespace {

Answer Next(std::deque<Answer>& answers) {
  if (answers.empty()) return Answer::Yes;
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

bool RecordingUi::AskYesNo(std::string_view question) {
  questions.emplace_back(question);
  return Next(answers) == Answer::Yes;
}

Answer RecordingUi::AskYesNoCancel(std::string_view question) {
  questions.emplace_back(question);
  return Next(answers);
}

void RecordingUi::SetStatusText(StatusPanel panel, std::string_view text) {
  statusTexts.push_back(std::to_string(static_cast<int>(panel)) + ":" + std::string(text));
}

void RecordingUi::SetProgress(int position, int maximum) { progress.emplace_back(position, maximum); }

bool RecordingUi::PumpEventsAndCheckAbort() {
  ++polls;
  return abortAfterPolls > 0 && polls >= abortAfterPolls;
}

}  // namespace lumetra::testing
