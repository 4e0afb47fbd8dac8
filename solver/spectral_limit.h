// The sampling of the spectral-domain integrals of one frequency: how far along the
// real axis the correction to the quasi-static slab model is integrated (MaxKr) and
// in which step, and the two warnings that tell the user the sampling may not do.
#pragma once

#include <cstdint>
#include <string>

#include "solver/solver_settings.h"

namespace lumetra {

inline constexpr const char* MightNotConvergeWarning =
    "Warning: Spectral domain computation might not converge";
inline constexpr const char* TooFewSpectralPointsWarning =
    "Warning: Not sufficient number of points for spectral domain integration";

// The status text of High accuracy on a slab: the number of points it chose.
std::string SpectralPointsStatus(std::int32_t points);

// The warning with the number of points that would have sufficed.
std::string TooFewSpectralPointsMessage(std::int32_t sufficientPoints);

struct SpectralIntegration {
  double MaxKr = 0.0;  // upper limit of the radial spectral variable, rad/m
  double Step = 0.0;   // real-axis step MaxKr / Points, rad/m
  std::int32_t Points = 0;  // the number of real-axis steps up to MaxKr
};

// The limit where the integrand of elements of half-length halfLength (m) has
// decayed to the relative error of the settings, at frequencyMHz over a slab of
// relative permittivity epsR and thickness heightMetres.
SpectralIntegration SpectralIntegrationFor(double frequencyMHz, double epsR, double heightMetres,
                                           double halfLength, const IntegrationSettings& settings);

// The integrand had not decayed within 5000 free-space wavenumbers: the search for
// the limit ran to its end.
bool SpectralLimitTooHigh(double frequencyMHz, double maxKr);

// The step is too coarse for the layout: the phase factor exp(j kr d) of the
// farthest pair (d up to layoutSpan, m) turns by more than a tenth of a period
// per step. A layout without extent (span 0) never warns.
bool SpectralStepTooCoarse(double layoutSpan, const SpectralIntegration& spectral);

// The fewest points for which the step is no longer too coarse for the layout
// (1 for a layout without extent).
std::int32_t SufficientSpectralPoints(double layoutSpan, double maxKr);

// The sampling with at least the sufficient number of points for the layout: the
// spectral integrals of a slab converge in the step exactly as the phase of the
// farthest pair gets resolved, so High accuracy raises the user's number to that
// and never lowers it.
SpectralIntegration WithSufficientPoints(const SpectralIntegration& spectral, double layoutSpan);

}  // namespace lumetra
