// Where the program's own windows appear: centred on the main window, so that a
// list, the help or the batch window opens where the user is looking rather than
// wherever the window manager puts a new window (often a screen corner).
#pragma once

class QWidget;

namespace lumetra::gui {

// Moves a window that is about to be shown so that its centre lies on the centre
// of its parent's top-level window; a window already on screen stays where the
// user put it. Nothing happens for a window without a parent.
void ShowCentredOnOwner(QWidget* window);

}  // namespace lumetra::gui
