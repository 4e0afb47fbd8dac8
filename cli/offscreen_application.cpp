#include "cli/offscreen_application.h"

#include <cstdlib>

namespace lumetra::cli {

std::unique_ptr<QGuiApplication> OffscreenApplication() {
  if (QGuiApplication::instance()) return nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "lumetra-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace lumetra::cli
