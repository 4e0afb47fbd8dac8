// lumetra: the desktop program. Takes one optional argument, a project file to open
// (the desktop's file manager passes it when a .PRO file is double-clicked).
#include <QApplication>
#include <QPointer>
#include <QTimer>
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
  // QApplication has taken its own options (-platform, -style, ...) out of the list;
  // what remains after the program's name is the project. It opens once the window
  // is up, through File, Open's own path, so a damaged file is reported in a message
  // box over the window as it would be there.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    const QString project = arguments.at(1);
    QTimer::singleShot(0, &window, [&window, project] { window.OpenProjectFile(project); });
  }
  return QApplication::exec();
}
