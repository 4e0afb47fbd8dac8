// The core's user interface in the desktop program: message boxes titled
// "Lumetra", the main window's status bar, the hourglass cursor, and the event pump
// with the abort flag of a running computation.
#pragma once

#include <functional>
#include <string_view>

#include "model/user_interface.h"

namespace lumetra::gui {

class MainStatusBar;

class QtUserInterface : public UserInterface {
public:
  explicit QtUserInterface(MainStatusBar* statusBar = nullptr) : statusBar_(statusBar) {}
  ~QtUserInterface() override;

  void ShowMessage(std::string_view text) override;
  bool AskYesNo(std::string_view question) override;
  Answer AskYesNoCancel(std::string_view question) override;
  void SetStatusText(StatusPanel panel, std::string_view text) override;
  void SetBusy(bool busy) override;
  void SetProgress(int, int) override {}
  bool PumpEventsAndCheckAbort() override;
  void Beep() override;

  // While a sink is set, messages go to it instead of a message box: an unattended
  // batch must not stop for a click. An empty sink restores the message boxes.
  using MessageSink = std::function<void(std::string_view)>;
  void SetMessageSink(MessageSink sink) { sink_ = std::move(sink); }

  // The Abort button sets this; a new run clears it.
  void RequestAbort() { abortRequested_ = true; }
  void ClearAbort() { abortRequested_ = false; }
  bool AbortRequested() const { return abortRequested_; }

private:
  MainStatusBar* statusBar_;
  int busyDepth_ = 0;
  bool abortRequested_ = false;
  MessageSink sink_;
};

// Routes the messages of a scope to a sink and restores the boxes at its end.
class MessageCapture {
public:
  MessageCapture(QtUserInterface& ui, QtUserInterface::MessageSink sink) : ui_(ui) {
    ui_.SetMessageSink(std::move(sink));
  }
  ~MessageCapture() { ui_.SetMessageSink({}); }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

private:
  QtUserInterface& ui_;
};

}  // namespace lumetra::gui
