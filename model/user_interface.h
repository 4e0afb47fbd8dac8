// The one channel through which the headless core talks to a person.
//
// The core never opens a window. Messages, questions, status-bar texts, the busy
// cursor, the progress gauge and the "process pending events, was abort requested?"
// poll of long loops all go through this interface. The desktop program implements
// it with message boxes and its status bar, lumetra-cli prints to the terminal, and
// the tests record every call so that the exact texts can be checked.
#pragma once

#include <string>
#include <string_view>

namespace lumetra {

enum class Answer { Yes, No, Cancel };

// Status-bar panels of the main window.
enum class StatusPanel { State = 0, Hint = 1, Progress = 2 };

class UserInterface {
public:
  virtual ~UserInterface() = default;

  // A message box titled "Lumetra" with an OK button.
  virtual void ShowMessage(std::string_view text) = 0;
  // A warning about something the command worked around and went on (a result
  // file's incomplete last block that was ignored). A message box by default; a
  // terminal prints it apart from the command's output.
  virtual void ShowWarning(std::string_view text) { ShowMessage(text); }
  // A confirmation with Yes and No buttons.
  virtual bool AskYesNo(std::string_view question) = 0;
  // A confirmation with Yes, No and Cancel buttons.
  virtual Answer AskYesNoCancel(std::string_view question) = 0;

  virtual void SetStatusText(StatusPanel panel, std::string_view text) = 0;
  // The hourglass cursor while the core works without pausing for input.
  virtual void SetBusy(bool busy) = 0;
  // Progress gauge of a modal step (position out of maximum).
  virtual void SetProgress(int position, int maximum) = 0;
  // Lets the windowing system handle pending events; true when the user has asked
  // the running operation to stop.
  virtual bool PumpEventsAndCheckAbort() = 0;
  // The system's "information" sound at the end of a computation.
  virtual void Beep() {}
};

// Shows the busy cursor for the lifetime of the guard, also when an exception
// leaves the scope.
class BusyCursor {
public:
  explicit BusyCursor(UserInterface& ui) : ui_(ui) { ui_.SetBusy(true); }
  ~BusyCursor() { ui_.SetBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

private:
  UserInterface& ui_;
};

}  // namespace lumetra
