// Help topics of the plot pages and their dialogs.
#pragma once

namespace lumetra::gui::help_topic {
inline constexpr int SelectFrequency = 1030;
inline constexpr int SelectSegment = 1031;
inline constexpr int SelectPlotType = 1032;
}  // namespace lumetra::gui::help_topic
