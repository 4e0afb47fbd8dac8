// Projects built in code for the computation tests, saved into a temporary
// directory so that the driver finds its files.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

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
// directory inside dir; the machine's available memory is availableBytes when
// given, else read from the system.
ComputationReport Compute(Project& project, const ComputationSettings& settings,
                          RecordingUi& ui, const TempDir& dir,
                          std::optional<std::int64_t> availableBytes = std::nullopt);

// Settings for one frequency without loads, sound or time messages.
ComputationSettings SingleFrequency(double mhz);
// The same for a linear sweep from start to stop (MHz).
ComputationSettings LinearSweep(double startMHz, double stopMHz, double stepMHz);

// The same with the far field over theta and phi ranges given as
// {start, stop, step} in degrees.
ComputationSettings WithFarField(ComputationSettings settings, const std::array<double, 3>& theta,
                                 const std::array<double, 3>& phi);

inline constexpr double Eta0 = 376.73031346177066;  // sqrt(mu0 / eps0) with the solver's constants

// |E_theta| and |E_phi| (V, field times distance) of the first block of a .RAD
// file, looked up by direction in degrees.
struct Pattern {
  std::vector<std::array<double, 4>> Rows;  // theta, phi, |E_theta|, |E_phi|
  double At(double theta, double phi, int column) const;
};
Pattern ReadPattern(const std::filesystem::path& rad);

// Power radiated into the upper half space (W): the integral of |E|^2 / (2 eta)
// over the hemisphere of a pattern sampled every stepDeg in theta 0..90 and phi 0..360.
double RadiatedPower(const Pattern& pattern, double stepDeg);

// One row of a current file: element centre and size in mm, density in A/m.
struct CurrentRow {
  double X, Y, Dx, Dy;
  std::complex<double> J;
};
// The rows of the first block of a .XXX or .YYY file (none when it is empty).
std::vector<CurrentRow> ReadCurrents(const std::filesystem::path& file);

}  // namespace lumetra::testing
