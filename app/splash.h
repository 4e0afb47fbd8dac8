// The start-up window and the program's picture.
#pragma once

#include <QPixmap>

class QWidget;

namespace lumetra::gui {

inline constexpr int SplashMilliseconds = 4000;

// A small trace layout with a radiating source, drawn at the given size.
QPixmap ProgramPicture(int size);

// Shows "Lumetra  Version 3.01" with the picture; it closes itself after
// SplashMilliseconds. The returned window deletes itself when closed.
QWidget* ShowSplash();

}  // namespace lumetra::gui
