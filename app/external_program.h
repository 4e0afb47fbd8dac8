// The external current-extraction program "quillet": started next to this program
// or from the PATH, at most once at a time.
#pragma once

#include <QString>

#include "model/user_interface.h"

namespace lumetra::gui {

inline constexpr const char* QuilletAlreadyRunning = "Current extract program is already running!";

// Whether a process of that executable name is running (Linux: /proc/<pid>/comm).
bool IsProcessRunning(const QString& name);

// Where the program would be started from: beside this executable first, then the
// PATH; empty when it is nowhere.
QString FindQuillet();

// The message when the program is not installed, naming where it was looked for.
QString QuilletMissingMessage();

// The command: reports when it already runs, otherwise starts it detached and
// returns at once. When it is not installed, or cannot be started, says so.
void LaunchQuillet(UserInterface& ui);

}  // namespace lumetra::gui
