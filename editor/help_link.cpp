#include "editor/help_link.h"

#include <QAbstractButton>

namespace lumetra::gui {

namespace {
std::function<void(int)>& Handler() {
  static std::function<void(int)> handler;
  return handler;
}
}  // namespace

void SetHelpHandler(std::function<void(int topic)> handler) { Handler() = std::move(handler); }

void ShowHelpTopic(int topic) {
  if (Handler()) Handler()(topic);
}

void ConnectHelpButton(QAbstractButton* button, int topic) {
  QObject::connect(button, &QAbstractButton::clicked, button, [topic] { ShowHelpTopic(topic); });
}

}  // namespace lumetra::gui
