#include "solver/effective_permittivity.h"

#include <cmath>

#include "solver/cell_integrals.h"
#include "solver/frequency_constants.h"
#include "solver/spectral_limit.h"
#include "velkor/velkor.h"

namespace lumetra {

namespace {

Complex TimesJ(Complex z) { return {-z.Im, z.Re}; }
Complex Scaled(Complex z, double s) { return {z.Re * s, z.Im * s}; }
Complex Sum(Complex a, Complex b) { return {a.Re + b.Re, a.Im + b.Im}; }
double SquaredMagnitude(Complex z) { return z.Re * z.Re + z.Im * z.Im; }

}  // namespace

CellSelfImpedance SquareCellSelfImpedance(double omega, double k, double w, double h) {
  const double mirror = 2.0 * h;
  const Complex self = SelfCellIntegral(k, w / 2, w / 2);

  // Every cell is w x w: seen from its own centre its integral is wholeCell. The
  // current cell is seen from its centre, its image from 2h above.
  const Complex wholeCell = Scaled(self, 4.0);
  const Complex vectorImage = CellIntegral(k, 0.0, 0.0, w, w, 0.0, 0.0, mirror);
  const double vectorFactor = omega * Mu0 * OneOverPi * w * 0.25;
  const Complex vector = TimesJ(Scaled(CSub(wholeCell, vectorImage), vectorFactor));

  // The charge cells q1 (left) and q2 (right) seen from the ends P+ = (w/2, 0) and
  // P- = (-w/2, 0) of the current cell: each end sits on one cell's centre.
  const auto charge = [&](double z, bool selfTerms) {
    const Complex a1 = CellIntegral(k, -w / 2, 0.0, w, w, w / 2, 0.0, z);
    const Complex a2 = selfTerms ? wholeCell : CellIntegral(k, -w / 2, 0.0, w, w, -w / 2, 0.0, z);
    const Complex a3 = selfTerms ? wholeCell : CellIntegral(k, w / 2, 0.0, w, w, w / 2, 0.0, z);
    const Complex a4 = CellIntegral(k, w / 2, 0.0, w, w, -w / 2, 0.0, z);
    return CSub(Scaled(CSub(a1, a2), 1.0 / w), Scaled(CSub(a3, a4), 1.0 / w));
  };
  const Complex t = CSub(charge(0.0, true), charge(mirror, false));
  return {vector, Scaled(TimesJ(t), 1.0 / (FourPi * omega))};
}

double SimpleEffectivePermittivity(double epsR, double heightMm, double gridMm) {
  return Eps0 * (1.0 + epsR) * 0.5 + Eps0 * (epsR - 1.0) * 0.5 / std::sqrt(1.0 + 10.0 * heightMm / gridMm);
}

std::size_t ApproximationAnchor(std::size_t index, std::int32_t every) {
  if (every < 1) return 0;
  return index - index % static_cast<std::size_t>(every);
}

double ApproximateEpsEff(double frequencyMHz, double epsR, double heightMetres,
                         double gridMetres, const IntegrationSettings& settings) {
  const double w = gridMetres, h = heightMetres;
  const double start = Eps0 * (epsR + 1.0) * 0.5;
  const FrequencyConstants c = MakeFrequencyConstants(frequencyMHz, start, epsR, true, h);
  const CellSelfImpedance model = SquareCellSelfImpedance(c.Omega, c.K, w, h);

  const SpectralIntegration spectral = SpectralIntegrationFor(frequencyMHz, epsR, h, w / 2, settings);
  Complex correction;
  _impxx(frequencyMHz, epsR, h, 0.0, 0.0, w / 2, w / 2, w / 2, spectral.MaxKr, spectral.Step,
         &correction.Re, &correction.Im);
  const double reference = SquaredMagnitude(Sum(correction, model.At(start)));

  double eps = start;
  for (int step = 0; step < 1000; ++step) {
    eps += 8.854e-15;
    if (std::fabs(1.0 - reference / SquaredMagnitude(model.At(eps))) <= 0.001) break;
  }
  return eps;
}

}  // namespace lumetra
