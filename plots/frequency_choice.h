// The frequency a plot page works on: a result file of one block needs no choice,
// one of several blocks asks the user through the "Select frequency" dialog.
#pragma once

#include <optional>
#include <vector>

#include "fields/result_lists.h"
#include "model/user_interface.h"

namespace lumetra {

inline constexpr const char* NoDataToPlotMessage = "There exist no data to plot!";
inline constexpr const char* SelectFrequencyToPlotMessage = "You must select a frequency to plot!";

// The frequency of the single block, or the one the user picks among several;
// nullopt (after "You must select a frequency to plot!") when the choice is not
// made. chooser is called only when there are several frequencies. An empty list
// yields nullopt without a message: the caller reports missing data itself.
std::optional<double> ChoosePlotFrequency(const std::vector<double>& frequencies,
                                          const FrequencyChooser& chooser, UserInterface& ui);

}  // namespace lumetra
