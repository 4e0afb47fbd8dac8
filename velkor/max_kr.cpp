#include "velkor/max_kr.h"

#include <cmath>

#include "velkor/constants.h"
#include "velkor/element_transforms.h"
#include "velkor/slab_green_function.h"

namespace velkor {

double search_modulus(double beta, double k0, double er, double h, double a) {
  // At alpha = 0: kx = beta, ky = 0, so curr = 4 s(beta, a) a, testx = 2 s(beta, a), the
  // phase is 1 and exx - axx = j (offset + slope beta^2).
  const RealAxisSpectrum spectrum = real_axis_spectrum(beta, k0, er, h);
  const double s = pulse_transform(beta, a);
  return std::abs(spectrum.offset + spectrum.slope * (beta * beta)) * (8.0 * a * s * s);
}

double max_kr(double f_mhz, double er, double h, double a, double tol) {
  const double k0 = free_space_wavenumber(f_mhz);
  const double step = 0.5 * k0;
  const double end = 5000.0 * k0;
  auto modulus = [&](double beta) { return search_modulus(beta, k0, er, h, a); };

  const double start_value = modulus(er * k0);
  if (modulus(er * k0 + step) < start_value) {
    // Falling from the start: the first sample at or below tol * M(er k0) ends it.
    double beta = er * k0 + 2.0 * step;
    double m;
    do {
      m = modulus(beta);
      beta += step;
    } while (!(m <= tol * start_value || beta >= end));
    return beta;
  }

  // Rising: climb to the first peak. `beta` ends at the first sample that does not
  // exceed its predecessor, the peak's value being that predecessor.
  double peak = 0.0;
  double beta = er * k0;
  double first_fall;
  for (;;) {
    const double m = modulus(beta);
    if (m <= peak) {
      first_fall = m;
      break;
    }
    peak = m;
    beta += step;
    if (!(beta < end)) return end;  // never fell: no peak
  }

  // Slide a window (before, current, next) on from one step past that sample.
  double before = peak;
  double current = first_fall;
  beta += step;
  do {
    const double next = modulus(beta);
    if (current > before && current > next && current < tol * peak) return beta;
    before = current;
    current = next;
    beta += step;
  } while (beta < end);
  return beta;
}

}  // namespace velkor
