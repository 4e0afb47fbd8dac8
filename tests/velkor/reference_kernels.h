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

// Rigorous spectral Green's functions of the grounded slab. beta2 is the square of the
// radial wavenumber, passed apart from kx and ky because on the integration path it is
// formed as beta*beta while the point-wise entries form it as kx^2 + ky^2.
Complex exx(Complex kx, Complex ky, Complex beta2, double k0, double er, double h);
Complex eyy(Complex kx, Complex ky, Complex beta2, double k0, double er, double h);
Complex exy(Complex kx, Complex ky, Complex beta2, double k0, double er, double h);

// Quasi-static asymptotes subtracted from them.
Complex axx(Complex kx, Complex ky, Complex beta2, double k0, double er, double h);
Complex ayy(Complex kx, Complex ky, Complex beta2, double k0, double er, double h);
Complex axy(Complex kx, Complex ky, Complex beta2, double k0, double er, double h);

// Element transforms: the rectangular source element and the thin testing segment.
Complex curr(Complex kx, Complex ky, double ax, double ay);
Complex testx(Complex kx, double at);

// The integrand int(beta, alpha) of the chosen coupling.
Complex integrand(Coupling coupling, double k0, Complex beta, double alpha, double er, double h,
                  double dx, double dy, double ax, double ay, double at);

// The whole interaction integral, already scaled by eta0/k0.
Complex impedance(Coupling coupling, double f, double er, double h, double dx, double dy, double ax,
                  double ay, double at, double krmax, double dkr);

// The modulus M(beta) that the upper-limit search follows, and the search itself.
double search_modulus(double beta, double k0, double er, double h, double a);
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
