// The same interaction integral as impxx_probe.c, from the test suite's reference
// transcription of the kernels, for install_test.sh to compare against.
#include <cstdio>
#include <numbers>

#include "tests/velkor/reference_kernels.h"

int main() {
  const double f = 1000.0, er = 4.5, h = 1.6e-3;
  const double k0 = 2.0 * std::numbers::pi * f / 300.0;
  const double dkr = 2.0 * k0;
  const double krmax = er * k0 + 99.0 * dkr;
  const velkor_reference::Complex z = velkor_reference::impedance(
      velkor_reference::Coupling::xx, f, er, h, 3e-3, -2e-3, 0.5e-3, 0.3e-3, 0.4e-3, krmax, dkr);
  std::printf("%.17g %.17g\n", z.real(), z.imag());
  return 0;
}
