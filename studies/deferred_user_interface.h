// The user interface of a frequency point solved away from the calling thread.
//
// Only the calling thread may talk to the person watching, and only in frequency
// order, so a point solved on a worker thread keeps its messages and warnings to be
// shown when its results are committed, and its status texts with them, in the
// order it gave them. The busy cursor and the progress gauge belong to the sweep as
// a whole (the calling thread shows them). The abort poll reads the sweep's shared
// stop flag.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "model/user_interface.h"

namespace lumetra {

struct DeferredMessage {
  enum class Kind : std::uint8_t { Message, Warning, State, Hint, Progress };
  Kind Shown = Kind::Message;
  std::string Text;
};

class DeferredUserInterface final : public UserInterface {
public:
  explicit DeferredUserInterface(const std::atomic<bool>& stop) : stop_(stop) {}

  void ShowMessage(std::string_view text) override { Keep(DeferredMessage::Kind::Message, text); }
  void ShowWarning(std::string_view text) override { Keep(DeferredMessage::Kind::Warning, text); }
  // A point asks nothing once it is solving (the questions of a run come before its
  // first point); were one asked, the run would go on as a batch run does.
  bool AskYesNo(std::string_view) override { return true; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::Yes; }
  void SetStatusText(StatusPanel panel, std::string_view text) override {
    Keep(panel == StatusPanel::State  ? DeferredMessage::Kind::State
         : panel == StatusPanel::Hint ? DeferredMessage::Kind::Hint
                                      : DeferredMessage::Kind::Progress,
         text);
  }
  void SetBusy(bool) override {}
  void SetProgress(int, int) override {}
  bool PumpEventsAndCheckAbort() override { return stop_.load(std::memory_order_relaxed); }

  std::vector<DeferredMessage> TakeMessages() { return std::move(messages_); }

private:
  void Keep(DeferredMessage::Kind kind, std::string_view text) {
    messages_.push_back({kind, std::string(text)});
  }

  const std::atomic<bool>& stop_;
  std::vector<DeferredMessage> messages_;
};

// Shows kept messages and status texts in the order the point gave them.
inline void ShowDeferredMessages(const std::vector<DeferredMessage>& messages, UserInterface& ui) {
  using Kind = DeferredMessage::Kind;
  for (const DeferredMessage& m : messages) {
    switch (m.Shown) {
      case Kind::Message: ui.ShowMessage(m.Text); break;
      case Kind::Warning: ui.ShowWarning(m.Text); break;
      case Kind::State: ui.SetStatusText(StatusPanel::State, m.Text); break;
      case Kind::Hint: ui.SetStatusText(StatusPanel::Hint, m.Text); break;
      case Kind::Progress: ui.SetStatusText(StatusPanel::Progress, m.Text); break;
    }
  }
}

}  // namespace lumetra
