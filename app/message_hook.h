// Where the desktop program's message boxes go. Normally a real modal box titled
// "Lumetra"; a test installs a hook that records the texts and answers from a
// script, so the real widgets can be driven without anyone at the screen.
#pragma once

#include <string_view>

#include "model/user_interface.h"

namespace lumetra::gui {

class MessageHook {
public:
  virtual ~MessageHook() = default;
  virtual void Message(std::string_view text) = 0;
  // withCancel: Yes/No/Cancel, else Yes/No.
  virtual Answer Question(std::string_view text, bool withCancel) = 0;
};

// Installs the hook (nullptr: real message boxes again).
void SetMessageHook(MessageHook* hook);

// The program's message boxes; every one of them goes through these.
void ShowMessageBox(std::string_view text);
Answer AskQuestionBox(std::string_view text, bool withCancel);

}  // namespace lumetra::gui
