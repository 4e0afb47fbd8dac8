// Reference transcription of the slab kernels: every quantity is recomputed from its
// defining formula at every spectral sample, in std::complex, with no factoring and no
// recurrences. It is slow on purpose and serves as the yardstick that the optimised
// library must reproduce (tests) and outrun (benchmark).
//
// Units as in the library: f in MHz, lengths in metres, angles in radians, wavenumbers
// in rad/m.
#pragma once

#include <complex>

namespace velkor_reference {

using Complex = std::complex<double>;

// Which integrand: 1 xx, 2 yy, 3 xy (y source, x testing), 4 yx (x source, y testing).
enum class Coupling { xx = 1, yy = 2, xy = 3, yx = 4 };

// The whole interaction integral, already scaled by eta0/k0.
Complex impedance(Coupling coupling, double f, double er, double h, double dx, double dy, double ax,
                  double ay, double at, double krmax, double dkr);

// The search of the spectral upper limit.
double max_kr(double f, double er, double h, double a, double tol);

struct FarField {
  Complex theta;  // E_theta
  Complex phi;    // E_phi
};

FarField far_field_jx(double theta, double phi, double f, double er, double h, double x, double y,
                      double ax, double ay);
FarField far_field_jy(double theta, double phi, double f, double er, double h, double x, double y,
                      double ax, double ay);
FarField far_field_jx_exc(double theta, double phi, double f, double er, double h, double x,
                          double y, double a);
FarField far_field_jy_exc(double theta, double phi, double f, double er, double h, double x,
                          double y, double a);

}  // namespace velkor_reference
