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

void LaunchQuillet(UserInterface& ui) {
  if (IsProcessRunning(ExecutableName)) {
    ui.ShowMessage(QuilletAlreadyRunning);
    return;
  }
  const QString program = FindQuillet();
  if (!program.isEmpty()) QProcess::startDetached(program, {});
}

}  // namespace lumetra::gui
