// How a dielectric substrate under the layout is treated: the sampling of the
// spectral-domain integrals of the rigorous solution, and the model of the
// effective permittivity that replaces it when the user chooses "Effective Eps.".
//
// These settings belong to the program, not to a project: they live while it runs
// and start from their defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/user_interface.h"

namespace lumetra {

struct IntegrationSettings {
  // Samples of the real-axis part of the spectral integral: its step is MaxKr / Points.
  std::int32_t Points = 100;
  // Accuracy of the upper integration limit MaxKr, percent.
  double RelativeErrorPercent = 1.0;
};

// The texts of the "Spectral domain integration parameters" dialog.
struct IntegrationTexts {
  std::string Points = "100";
  std::string RelativeError = "1";
};

enum class IntegrationField { Points, RelativeError };

// The dialog's edits filled from settings (the error in the shortest general form);
// the defaults are what "Reset to default" puts there.
IntegrationTexts IntegrationTextsOf(const IntegrationSettings& settings);
IntegrationTexts DefaultIntegrationTexts();

// The dialog's OK check: the number of points strictly between 10 and 10000, the
// relative error strictly between 0.01 and 100 percent. The first field that fails
// shows the range message, is named in *failed (to receive the focus) and nothing
// is returned.
std::optional<IntegrationSettings> CheckIntegrationTexts(const IntegrationTexts& texts,
                                                         UserInterface& ui,
                                                         IntegrationField* failed = nullptr);

// How closely the model follows the physics. Standard is the established model,
// whose results stay exactly as they were. High tests each ground point's vertical
// current over its whole depth instead of at its top end, spreads the current and
// charge of strips one cell wide (and of the ground points' posts) across their
// width with the edge-singular distribution of a thin flat strip instead of
// uniformly (one_cell_wide_strips.h), and samples the spectral integrals of a slab
// with as many points as the layout's extent needs (never fewer than the user
// asked for).
enum class SolverAccuracy { Standard, High };

// "standard" or "high", the words of the command line and of the settings file.
const char* AccuracyWord(SolverAccuracy accuracy);
// The word in any letter case; nullopt for anything else.
std::optional<SolverAccuracy> AccuracyFromWord(std::string_view word);

enum class EffectivePermittivityModel {
  SimpleFormula,     // closed form from the substrate height and the grid size
  ApproximateEvery,  // fitted to the rigorous self-interaction every Every-th frequency
};

struct EffectivePermittivitySettings {
  EffectivePermittivityModel Model = EffectivePermittivityModel::SimpleFormula;
  std::int32_t Every = 1;
};

// The check of the "Options for effective permittivity" dialog (its OK and its
// Cancel): with the approximation chosen, the interval must be an integer strictly
// between 0 and 100 ("Number"). With the simple formula the text is not looked at
// and Every stays 1.
std::optional<EffectivePermittivitySettings> CheckEffectivePermittivity(
    EffectivePermittivityModel model, std::string_view everyText, UserInterface& ui);

}  // namespace lumetra
