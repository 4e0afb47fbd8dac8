// What a long computation shares with the person watching it: the user interface,
// the abort flag set by the "Abort computation" button, and the moment the matrix
// inversion started (reported as "Matrix invert time:").
#pragma once

#include <chrono>

#include "model/user_interface.h"

namespace lumetra {

struct ComputationControl {
  explicit ComputationControl(UserInterface& userInterface) : ui(userInterface) {}

  UserInterface& ui;
  bool AbortRequested = false;
  std::chrono::system_clock::time_point InvertStartTime{};

  // Lets the window handle pending events (where the Abort button is pressed) and
  // tells whether the computation is to stop.
  bool PumpAndCheckAbort() {
    if (ui.PumpEventsAndCheckAbort()) AbortRequested = true;
    return AbortRequested;
  }
};

}  // namespace lumetra
