// Opens the program's help at a topic. The help viewer belongs to the shell; the
// dialogs only know the topic numbers.
#pragma once

#include <functional>

class QAbstractButton;

namespace lumetra::gui {

namespace help_topic {
inline constexpr int VoltageSource = 1003;
inline constexpr int Impedance = 1004;
inline constexpr int GroundPoint = 1005;
inline constexpr int DeleteItem = 1006;
inline constexpr int Grid = 1007;
inline constexpr int Segment = 1013;
inline constexpr int NewProject = 1014;
inline constexpr int ProjectDetails = 1017;
inline constexpr int MoveStep = 1018;
}  // namespace help_topic

void SetHelpHandler(std::function<void(int topic)> handler);
void ShowHelpTopic(int topic);
// Wires a dialog's help button to a topic.
void ConnectHelpButton(QAbstractButton* button, int topic);

}  // namespace lumetra::gui
