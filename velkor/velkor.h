/*
 * velkor: spectral-domain kernels of horizontal current elements on a grounded
 * dielectric slab.
 *
 * Frame: a perfectly conducting ground plane at z = 0, a slab of relative permittivity
 * er filling 0 < z < h, and the layout's current elements on its surface z = h.
 *
 * Units: frequency f in MHz; every length (h, offsets, half-sizes, centres) in metres;
 * angles in radians; wavenumbers (krmax, dkr, kx, ky, k0, beta) in rad/m. The free-space
 * wavenumber is k0 = 2 pi f / 300. Complex results are returned as a real and an
 * imaginary part through two pointers to the caller's doubles.
 *
 * No function validates its arguments: the caller guarantees er > 1, h > 0, f > 0 and
 * positive half-sizes. Every function is pure and reentrant; there is no initialisation
 * and no shutdown call.
 */
#ifndef VELKOR_VELKOR_H
#define VELKOR_VELKOR_H

#define VELKOR_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Interaction integrals between a rectangular source element (half-sizes ax, ay, centre
 * offset from the testing segment by dx, dy = source centre minus testing centre) and a
 * thin testing segment of half-length at. They return only the spectral correction:
 * the integral of the rigorous slab Green's function minus its quasi-static asymptote
 * (a homogeneous medium of permittivity (er + 1)/2 with an image at depth 2h), which
 * the caller adds to the spatial-domain part computed with that permittivity. The
 * result is (eta0/k0) I in ohm. The radial integration leaves the real axis between 0
 * and er k0 and then runs on the real axis from er k0 up to krmax in steps dkr; a
 * non-positive dkr or an infinite krmax gives an empty real-axis part.
 *
 *   _impxx  x-directed source, x-directed testing segment
 *   _impyy  y-directed source, y-directed testing segment
 *   _impxy  y-directed source, x-directed testing segment
 *   _impyx  x-directed source, y-directed testing segment
 */
VELKOR_API void _impxx(double f, double er, double h, double dx, double dy, double ax, double ay,
                       double at, double krmax, double dkr, double* re, double* im);
VELKOR_API void _impyy(double f, double er, double h, double dx, double dy, double ax, double ay,
                       double at, double krmax, double dkr, double* re, double* im);
VELKOR_API void _impxy(double f, double er, double h, double dx, double dy, double ax, double ay,
                       double at, double krmax, double dkr, double* re, double* im);
VELKOR_API void _impyx(double f, double er, double h, double dx, double dy, double ax, double ay,
                       double at, double krmax, double dkr, double* re, double* im);

/*
 * The same interaction integrals for a source one strip wide whose current and charge
 * follow the edge-singular distribution of a thin flat strip across its direction,
 * 1 / (pi sqrt(a^2 - s^2)) with a = ay for an x-directed source and a = ax for a
 * y-directed one, instead of a uniform one (same mean density): the across factor
 * sin(k a)/k of the source transform becomes a J0(k a). coupling selects the pair as
 * the four functions above do: 1 xx, 2 yy, 3 xy, 4 yx; any other value gives 0. Its
 * real-axis part weighs the first sample (at er k0) by 1/2, the trapezoidal rule, which
 * converges in dkr far faster than the plain sum of the four functions above.
 */
VELKOR_API void _impstrip(int coupling, double f, double er, double h, double dx, double dy,
                          double ax, double ay, double at, double krmax, double dkr, double* re,
                          double* im);

/*
 * The upper limit krmax (rad/m) of the real-axis integration at frequency f, for
 * elements of half-length a (m) and a relative accuracy tol (a fraction: 0.01 for one
 * percent). At most 5000 k0.
 */
VELKOR_API double _maxkr(double f, double er, double h, double a, double tol);

/*
 * Far field of a unit current element at (x, y) seen from the direction (theta, phi),
 * theta from the board normal (avoid theta = +-pi/2), phi from +x. Returned as
 * E_theta and E_phi without the 1/r and exp(-j k0 r) factors, phase referred to the
 * origin.
 *   _farfieldjx, _farfieldjy        rectangular element of half-sizes ax, ay along x / y
 *   _farfieldjxexc, _farfieldjyexc  thin segment of half-length a along x / y
 */
VELKOR_API void _farfieldjx(double theta, double phi, double f, double er, double h, double x,
                            double y, double ax, double ay, double* eth_re, double* eth_im,
                            double* eph_re, double* eph_im);
VELKOR_API void _farfieldjy(double theta, double phi, double f, double er, double h, double x,
                            double y, double ax, double ay, double* eth_re, double* eth_im,
                            double* eph_re, double* eph_im);
VELKOR_API void _farfieldjxexc(double theta, double phi, double f, double er, double h, double x,
                               double y, double a, double* eth_re, double* eth_im, double* eph_re,
                               double* eph_im);
VELKOR_API void _farfieldjyexc(double theta, double phi, double f, double er, double h, double x,
                               double y, double a, double* eth_re, double* eth_im, double* eph_re,
                               double* eph_im);

/*
 * Diagnostics: single building blocks at one spectral point, with the free-space
 * wavenumber k0 given directly (rad/m) and the radial wavenumber taken as
 * beta^2 = kx^2 + ky^2.
 *   _testexx   the rigorous Green's function exx(kx, ky)
 *   _testaxx   its asymptote axx(kx, ky)
 *   _testcurr  the rectangular element transform 4 s(kx, ax) s(ky, ay), s(k, c) = sin(kc)/k
 *   _testtest  the complex conjugate of the segment transform 2 s(kx, at)
 *   _testintxx, _testintyy, _testintxy, _testintyx
 *              the integrand at real beta and angle alpha (kx = beta cos alpha,
 *              ky = beta sin alpha), with the phase factor exp(j (kx dx + ky dy))
 */
VELKOR_API void _testexx(double kx, double ky, double k0, double er, double h, double* re,
                         double* im);
VELKOR_API void _testaxx(double kx, double ky, double k0, double er, double h, double* re,
                         double* im);
VELKOR_API void _testcurr(double kx, double ky, double ax, double ay, double* re, double* im);
VELKOR_API void _testtest(double kx, double at, double* re, double* im);
VELKOR_API void _testintxx(double k0, double beta, double alpha, double er, double h, double dx,
                           double dy, double ax, double ay, double at, double* re, double* im);
VELKOR_API void _testintyy(double k0, double beta, double alpha, double er, double h, double dx,
                           double dy, double ax, double ay, double at, double* re, double* im);
VELKOR_API void _testintxy(double k0, double beta, double alpha, double er, double h, double dx,
                           double dy, double ax, double ay, double at, double* re, double* im);
VELKOR_API void _testintyx(double k0, double beta, double alpha, double er, double h, double dx,
                           double dy, double ax, double ay, double at, double* re, double* im);

#ifdef __cplusplus
}
#endif

#endif /* VELKOR_VELKOR_H */
