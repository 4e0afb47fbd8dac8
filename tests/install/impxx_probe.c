/* A program of someone else's that uses the installed kernel library: one interaction
 * integral of a grounded slab, printed to 17 significant digits. Built twice by
 * install_test.sh, through pkg-config and through find_package(velkor). */
#include <stdio.h>

#include <velkor.h>

int main(void) {
  /* 10 MHz over a 0.8 mm slab of er 2.2; source 2 mm along x and -1 mm along y from
   * the testing segment; 50 real-axis samples three free-space wavenumbers apart. */
  const double f = 10.0, er = 2.2, h = 0.8e-3;
  const double k0 = 2.0 * 3.14159265358979323846 * f / 300.0;
  const double dkr = 3.0 * k0;
  const double krmax = er * k0 + 49.0 * dkr;
  double re = 0.0, im = 0.0;
  _impxx(f, er, h, 2e-3, -1e-3, 0.5e-3, 0.3e-3, 0.4e-3, krmax, dkr, &re, &im);
  printf("%.17g %.17g\n", re, im);
  return 0;
}
