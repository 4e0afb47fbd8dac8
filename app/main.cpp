// lumetra: the desktop program. Takes no arguments.
#include <QApplication>
#include <filesystem>

#include "app/main_window.h"
#include "app/splash.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumetra");
  QApplication::setApplicationDisplayName("Lumetra");
  lumetra::gui::ShowSplash();
  // The time-estimate constants live where the program was started.
  lumetra::gui::MainWindow window(std::filesystem::current_path());
  window.show();
  return QApplication::exec();
}
