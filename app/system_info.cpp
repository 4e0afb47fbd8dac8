#include "app/system_info.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <QRegularExpression>

namespace lumetra::gui {

std::int64_t PhysicalMemoryKilobytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  return static_cast<std::int64_t>(pages) * pageSize / 1024;
}

QString FormatKilobytes(std::int64_t kilobytes) {
  QString digits = QString::number(kilobytes);
  for (qsizetype k = digits.size() - 3; k > 0; k -= 3) digits.insert(k, ',');
  return digits + " KB";
}

QString OperatingSystemName() {
  utsname name{};
  if (uname(&name) != 0) return "Unknown";
  return QString::fromLocal8Bit(name.sysname);
}

QString OperatingSystemLine() {
  utsname name{};
  if (uname(&name) != 0) return OperatingSystemName();
  // The release starts with the version, e.g. "6.1.0-18-amd64".
  const QRegularExpressionMatch version =
      QRegularExpression("^(\\d+)\\.(\\d+)").match(QString::fromLocal8Bit(name.release));
  if (!version.hasMatch()) return OperatingSystemName();
  return QString("%1 %2.%3")
      .arg(OperatingSystemName(), version.captured(1), version.captured(2));
}

}  // namespace lumetra::gui
