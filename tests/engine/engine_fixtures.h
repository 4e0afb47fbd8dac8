// Projects built in code for the computation tests, saved into a temporary
// directory so that the driver finds its files.
#pragma once

#include <array>

#include "model/project.h"
#include "studies/computation_driver.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace lumetra::testing {

// A straight strip along x of length and width in mm, centred on a board of
// 200 x 100 mm, with `cells` charge cells along x and one across, fed by a 1 V
// source on its centre Jx element (cells must be even).
Project StripDipole(const TempDir& dir, double lengthMm, double widthMm, int cells);

// Runs Compute in batch-free mode with every question answered Yes, the work
// directory inside dir.
ComputationReport Compute(Project& project, const ComputationSettings& settings,
                          RecordingUi& ui, const TempDir& dir);

// Settings for one frequency without loads, sound or time messages.
ComputationSettings SingleFrequency(double mhz);

// The same with the far field over theta and phi ranges given as
// {start, stop, step} in degrees.
ComputationSettings WithFarField(ComputationSettings settings, const std::array<double, 3>& theta,
                                 const std::array<double, 3>& phi);

}  // namespace lumetra::testing
