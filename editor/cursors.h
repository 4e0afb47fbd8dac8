// The layout editor's own mouse cursors: a grabbing hand for dragging the view and
// an arrow with a voltage-source, impedance or ground symbol for the placing modes.
#pragma once

#include <QCursor>

namespace lumetra::gui {

enum class EditorCursor { HandGrab, VoltGen, ZImpedance, Ground };

// Drawn once, on first use.
const QCursor& CursorFor(EditorCursor which);

}  // namespace lumetra::gui
