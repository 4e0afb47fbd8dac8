#include "app/external_program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace lumetra::gui {

namespace {
const char* const ExecutableName = "quillet";
}

bool IsProcessRunning(const QString& name) {
  const QDir proc("/proc");
  for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool isPid = false;
    entry.toInt(&isPid);
    if (!isPid) continue;
    QFile comm(proc.filePath(entry + "/comm"));
    if (!comm.open(QIODevice::ReadOnly)) continue;
    if (QString::fromLocal8Bit(comm.readAll()).trimmed() == name) return true;
  }
  return false;
}

QString FindQuillet() {
  const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(ExecutableName);
  if (QFileInfo(beside).isExecutable()) return beside;
  return QStandardPaths::findExecutable(ExecutableName);
}

QString QuilletMissingMessage() {
  return QString("The current extraction program \"%1\" is not installed. It is looked for "
                 "in %2 and in the folders of the PATH.")
      .arg(ExecutableName, QCoreApplication::applicationDirPath());
}

void LaunchQuillet(UserInterface& ui) {
  if (IsProcessRunning(ExecutableName)) {
    ui.ShowMessage(QuilletAlreadyRunning);
    return;
  }
  const QString program = FindQuillet();
  if (program.isEmpty()) {
    ui.ShowMessage(QuilletMissingMessage().toStdString());
    return;
  }
  if (!QProcess::startDetached(program, {}))
    ui.ShowMessage(QString("The current extraction program \"%1\" could not be started.")
                       .arg(program)
                       .toStdString());
}

}  // namespace lumetra::gui
