// The upper limit of the real-axis integration for one frequency.
//
// The search follows M(beta) = |intxx(beta, alpha = 0)| on the real axis for a square
// source element and a testing segment of the same half-size a at zero offset, in
// steps of k0/2 from er k0 up to at most 5000 k0:
//  - when M falls from the start, it stops at the first sample (from er k0 + k0) at or
//    below tol M(er k0) and returns the position one step past it;
//  - when M rises, it climbs to the first peak and then looks for a local maximum of
//    the oscillating modulus below tol times that peak, returning the position one step
//    past it.
#pragma once

namespace velkor {

// f in MHz, h and a in m, tol a fraction (0.01 for one percent); result in rad/m.
double max_kr(double f_mhz, double er, double h, double a, double tol);

// M(beta) itself, for real beta > sqrt(er) k0.
double search_modulus(double beta, double k0, double er, double h, double a);

}  // namespace velkor
