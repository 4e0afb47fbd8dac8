/* A program of someone else's that uses the installed kernel library: one interaction
 * integral of a grounded slab, printed to 17 significant digits. Built twice by
 * install_test.sh, through pkg-config and through find_package(velkor). */
#include <stdio.h>

#include <velkor.h>

int main(void) {
  /* 1 GHz over a 1.6 mm slab of er 4.5; source 3 mm along x and -2 mm along y from
   * the testing segment; 100 real-axis samples two free-space wavenumbers apart. */
  const double f = 1000.0, er = 4.5, h = 1.6e-3;
  const double k0 = 2.0 * 3.14159265358979323846 * f / 300.0;
  const double dkr = 2.0 * k0;
  const double krmax = er * k0 + 99.0 * dkr;
  double re = 0.0, im = 0.0;
  _impxx(f, er, h, 3e-3, -2e-3, 0.5e-3, 0.3e-3, 0.4e-3, krmax, dkr, &re, &im);
  printf("%.17g %.17g\n", re, im);
  return 0;
}
