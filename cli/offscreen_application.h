// Fonts and painting need a QGuiApplication; a terminal (or a build server) has no
// display, so the charts of the commands are drawn off-screen unless the caller
// chose a platform with QT_QPA_PLATFORM.
#pragma once

#include <memory>

#include <QGuiApplication>

namespace lumetra::cli {

// The application to hold while drawing; none when one exists already.
std::unique_ptr<QGuiApplication> OffscreenApplication();

}  // namespace lumetra::cli
