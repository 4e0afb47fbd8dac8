// The interaction integrals: the spectral-domain difference between the rigorous slab
// Green's function and its quasi-static asymptote, between a rectangular source
// element and a thin testing segment,
//   Z = (eta0/k0) I,  I = -(1/(4 pi^2)) integral over the path C of
//                          integral over [0, 2 pi] of int(beta, alpha) beta dalpha dbeta,
// summed leg by leg in the order rise, flat, drop, tail.
#pragma once

#include "velkor/constants.h"
#include "velkor/coupling.h"

namespace velkor {

// f in MHz, er relative permittivity, h in m, krmax and dkr in rad/m; result in ohm
// (the unit the program's impedance matrix carries for these corrections).
Complex interaction(Coupling coupling, double f_mhz, double er, double h, const ElementPair& pair,
                    double krmax, double dkr);

}  // namespace velkor
