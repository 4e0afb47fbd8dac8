#include "solver/spectral_limit.h"

#include "velkor/velkor.h"

namespace lumetra {

SpectralIntegration SpectralIntegrationFor(double frequencyMHz, double epsR, double heightMetres,
                                           double halfLength, const IntegrationSettings& settings) {
  SpectralIntegration s;
  s.MaxKr = _maxkr(frequencyMHz, epsR, heightMetres, halfLength,
                   0.01 * settings.RelativeErrorPercent);
  s.Step = s.MaxKr / settings.Points;
  return s;
}

bool SpectralLimitTooHigh(double frequencyMHz, double maxKr) {
  // 5000 k0, k0 = 2 pi f / 300 with f in MHz.
  return 31415.926535897932 * frequencyMHz * 0.0033333333333333335 < maxKr;
}

bool SpectralStepTooCoarse(double layoutSpan, const SpectralIntegration& spectral) {
  if (!(layoutSpan > 0.0)) return false;
  return 0.6283185307179586 / layoutSpan < spectral.Step;
}

}  // namespace lumetra
