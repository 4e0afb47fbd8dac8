#include "app/user_settings.h"

#include <algorithm>

#include "solver/complex_storage.h"

namespace lumetra::gui {

namespace {
const char* const MaxUnknownsKey = "Computation/MaxUnknowns";
}

QSettings UserSettings() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, "Lumetra", "Lumetra");
}

std::int32_t LoadMaxUnknowns(const QSettings& settings) {
  bool ok = false;
  const qlonglong stored = settings.value(MaxUnknownsKey).toLongLong(&ok);
  if (!ok) return DefaultMaxUnknowns;
  return static_cast<std::int32_t>(
      std::clamp<qlonglong>(stored, DefaultMaxUnknowns, LargestMaxUnknowns));
}

void StoreMaxUnknowns(QSettings& settings, std::int32_t limit) {
  settings.setValue(MaxUnknownsKey, limit);
}

}  // namespace lumetra::gui
