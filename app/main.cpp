// lumetra: the desktop program. Takes no arguments.
#include <QApplication>
#include <QPointer>
#include <filesystem>

#include "app/main_window.h"
#include "app/splash.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // No display name: the window manager would append it to a title that already
  // begins with the program's name ("Lumetra board.PRO — Lumetra").
  QApplication::setApplicationName("Lumetra");
  const QPointer<QWidget> splash = lumetra::gui::ShowSplash();
  // The time-estimate constants live where the program was started.
  lumetra::gui::MainWindow window(std::filesystem::current_path());
  window.show();
  if (splash) splash->raise();
  return QApplication::exec();
}
