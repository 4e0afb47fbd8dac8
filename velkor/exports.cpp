// The C entry points: unpack the scalar arguments, call the C++ kernels, write the
// real and imaginary parts through the caller's pointers.
#include "velkor/coupling.h"
#include "velkor/element_transforms.h"
#include "velkor/far_field.h"
#include "velkor/integrand.h"
#include "velkor/interaction.h"
#include "velkor/max_kr.h"
#include "velkor/slab_green_function.h"
#include "velkor/velkor.h"

namespace {

using velkor::Complex;
using velkor::Coupling;

void store(Complex value, double* re, double* im) {
  *re = value.real();
  *im = value.imag();
}

void store(const velkor::FarField& field, double* eth_re, double* eth_im, double* eph_re,
           double* eph_im) {
  store(field.theta, eth_re, eth_im);
  store(field.phi, eph_re, eph_im);
}

void interaction(Coupling coupling, double f, double er, double h, double dx, double dy, double ax,
                 double ay, double at, double krmax, double dkr, double* re, double* im) {
  store(velkor::interaction(coupling, f, er, h, {dx, dy, ax, ay, at}, krmax, dkr), re, im);
}

void integrand(Coupling coupling, double k0, double beta, double alpha, double er, double h,
               double dx, double dy, double ax, double ay, double at, double* re, double* im) {
  store(velkor::integrand(coupling, {k0, er, h}, beta, alpha, {dx, dy, ax, ay, at}), re, im);
}

}  // namespace

extern "C" {

void _impxx(double f, double er, double h, double dx, double dy, double ax, double ay, double at,
            double krmax, double dkr, double* re, double* im) {
  interaction(Coupling::xx, f, er, h, dx, dy, ax, ay, at, krmax, dkr, re, im);
}

void _impyy(double f, double er, double h, double dx, double dy, double ax, double ay, double at,
            double krmax, double dkr, double* re, double* im) {
  interaction(Coupling::yy, f, er, h, dx, dy, ax, ay, at, krmax, dkr, re, im);
}

void _impxy(double f, double er, double h, double dx, double dy, double ax, double ay, double at,
            double krmax, double dkr, double* re, double* im) {
  interaction(Coupling::xy, f, er, h, dx, dy, ax, ay, at, krmax, dkr, re, im);
}

void _impyx(double f, double er, double h, double dx, double dy, double ax, double ay, double at,
            double krmax, double dkr, double* re, double* im) {
  interaction(Coupling::yx, f, er, h, dx, dy, ax, ay, at, krmax, dkr, re, im);
}

void _impstrip(int coupling, double f, double er, double h, double dx, double dy, double ax,
               double ay, double at, double krmax, double dkr, double* re, double* im) {
  if (coupling < 1 || coupling > 4) {
    store(0.0, re, im);
    return;
  }
  velkor::ElementPair pair{dx, dy, ax, ay, at};
  pair.edge_singular = true;
  store(velkor::interaction(static_cast<Coupling>(coupling), f, er, h, pair, krmax, dkr), re, im);
}

double _maxkr(double f, double er, double h, double a, double tol) {
  return velkor::max_kr(f, er, h, a, tol);
}

void _farfieldjx(double theta, double phi, double f, double er, double h, double x, double y,
                 double ax, double ay, double* eth_re, double* eth_im, double* eph_re,
                 double* eph_im) {
  store(velkor::rectangle_far_field_x({theta, phi, f, er, h, x, y}, ax, ay), eth_re, eth_im, eph_re,
        eph_im);
}

void _farfieldjy(double theta, double phi, double f, double er, double h, double x, double y,
                 double ax, double ay, double* eth_re, double* eth_im, double* eph_re,
                 double* eph_im) {
  store(velkor::rectangle_far_field_y({theta, phi, f, er, h, x, y}, ax, ay), eth_re, eth_im, eph_re,
        eph_im);
}

void _farfieldjxexc(double theta, double phi, double f, double er, double h, double x, double y,
                    double a, double* eth_re, double* eth_im, double* eph_re, double* eph_im) {
  store(velkor::segment_far_field_x({theta, phi, f, er, h, x, y}, a), eth_re, eth_im, eph_re,
        eph_im);
}

void _farfieldjyexc(double theta, double phi, double f, double er, double h, double x, double y,
                    double a, double* eth_re, double* eth_im, double* eph_re, double* eph_im) {
  store(velkor::segment_far_field_y({theta, phi, f, er, h, x, y}, a), eth_re, eth_im, eph_re,
        eph_im);
}

void _testexx(double kx, double ky, double k0, double er, double h, double* re, double* im) {
  store(velkor::slab_green_function(kx * kx + ky * ky, k0, er, h).exx(kx), re, im);
}

void _testaxx(double kx, double ky, double k0, double er, double h, double* re, double* im) {
  store(velkor::slab_green_function(kx * kx + ky * ky, k0, er, h).axx(kx), re, im);
}

void _testcurr(double kx, double ky, double ax, double ay, double* re, double* im) {
  store(velkor::source_transform(kx, ky, ax, ay), re, im);
}

void _testtest(double kx, double at, double* re, double* im) {
  store(std::conj(velkor::segment_transform(kx, at)), re, im);
}

void _testintxx(double k0, double beta, double alpha, double er, double h, double dx, double dy,
                double ax, double ay, double at, double* re, double* im) {
  integrand(Coupling::xx, k0, beta, alpha, er, h, dx, dy, ax, ay, at, re, im);
}

void _testintyy(double k0, double beta, double alpha, double er, double h, double dx, double dy,
                double ax, double ay, double at, double* re, double* im) {
  integrand(Coupling::yy, k0, beta, alpha, er, h, dx, dy, ax, ay, at, re, im);
}

void _testintxy(double k0, double beta, double alpha, double er, double h, double dx, double dy,
                double ax, double ay, double at, double* re, double* im) {
  integrand(Coupling::xy, k0, beta, alpha, er, h, dx, dy, ax, ay, at, re, im);
}

void _testintyx(double k0, double beta, double alpha, double er, double h, double dx, double dy,
                double ax, double ay, double at, double* re, double* im) {
  integrand(Coupling::yx, k0, beta, alpha, er, h, dx, dy, ax, ay, at, re, im);
}

}  // extern "C"
