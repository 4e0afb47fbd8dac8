#include "plots/frequency_choice.h"

#include <string>

#include "model/input_checks.h"

namespace lumetra {

std::optional<double> ChoosePlotFrequency(const std::vector<double>& frequencies,
                                          const FrequencyChooser& chooser, UserInterface& ui) {
  if (frequencies.empty()) return std::nullopt;
  if (frequencies.size() == 1) return frequencies.front();
  const std::vector<std::string> entries = FrequencyDialogEntries(frequencies);
  const std::optional<std::size_t> chosen = chooser ? chooser(entries) : std::nullopt;
  // The entry's text converted back, so that the block is found by the same exact
  // comparison the lists use.
  const std::optional<double> frequency =
      chosen && *chosen < entries.size() ? ParseRealText(entries[*chosen]) : std::nullopt;
  if (!frequency) ui.ShowMessage(SelectFrequencyToPlotMessage);
  return frequency;
}

}  // namespace lumetra
