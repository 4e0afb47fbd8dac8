// What the desktop program keeps per user between its runs (QSettings, in the
// user's configuration directory): today the limit of unknowns. Nothing here
// travels with a project.
#pragma once

#include <QSettings>
#include <cstdint>

namespace lumetra::gui {

// The user's settings of the program ("Lumetra/Lumetra" in the user scope).
QSettings UserSettings();

// The stored "Maximum number of unknowns", clamped to the range the dialog offers;
// the default when none is stored or the stored text is no number.
std::int32_t LoadMaxUnknowns(const QSettings& settings);
void StoreMaxUnknowns(QSettings& settings, std::int32_t limit);

}  // namespace lumetra::gui
