// The program-wide settings of the desktop program, beside the view settings so that
// every page can read them. Every start begins from these defaults; only the
// frequency chosen last travels with a project, in its computation settings, and
// the limit of unknowns is kept per user (app/user_settings.h).
#pragma once

#include <filesystem>

#include "solver/complex_storage.h"
#include "solver/solver_settings.h"

namespace lumetra::gui {

struct ShellOptions {
  // Options menu toggles.
  bool CompSound = true;         // beep after a completed computation
  bool ShowCompTime = true;      // completion message with the times
  bool ShowTimeEstimate = false; // estimate before computing

  double CutAngle = -1.0;        // selected radiation-pattern cut; -1: none
  double DbPerDivision = 10.0;   // pattern plot
  double InputPower = -1.0;      // W, of the last single-frequency far-field run
  double SelectedFrequency = 0.0;  // MHz shown by the plots; 0 until chosen
  // MHz picked last in the "Select frequency" dialog for the open project, stored
  // with its computation settings; 0 when none was picked.
  double RememberedFrequency = 0.0;

  // Where "Lumetra.TES" lies: the working directory when the program started.
  std::filesystem::path StartupDirectory;

  // The substrate dialogs of the Options menu.
  IntegrationSettings Integration;
  EffectivePermittivitySettings EffectivePermittivity;
  // "Maximum number of unknowns": per user, kept in the user's settings between
  // runs of the program (never in a project).
  std::int32_t MaxUnknowns = DefaultMaxUnknowns;
  // The solver accuracy of the open project (its computation settings keep it).
  SolverAccuracy Accuracy = SolverAccuracy::Standard;
};

}  // namespace lumetra::gui
