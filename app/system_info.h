// What the about box reports of this machine.
#pragma once

#include <QString>
#include <cstdint>

namespace lumetra::gui {

// Total physical memory in kilobytes; 0 when the system does not tell.
std::int64_t PhysicalMemoryKilobytes();
// "12,345,678 KB": thousands separated by commas.
QString FormatKilobytes(std::int64_t kilobytes);
// The operating system's name, e.g. "Linux".
QString OperatingSystemName();
// "<name> <major>.<minor>", e.g. "Linux 6.1".
QString OperatingSystemLine();

}  // namespace lumetra::gui
