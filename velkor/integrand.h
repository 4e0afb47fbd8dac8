// The integrand int(beta, alpha) of one interaction integral at a single spectral
// point, evaluated directly (no recurrences):
//   intxx = (exx - axx) curr conj(testx) exp(j phi)
//   intyy = (eyy - ayy) curr conj(testy) exp(j phi)
//   intxy = (exy - axy) curr conj(testx) exp(j phi)
//   intyx = (exy - axy) curr conj(testy) exp(j phi)
// with kx = beta cos alpha, ky = beta sin alpha and phi = kx dx + ky dy.
#pragma once

#include "velkor/constants.h"
#include "velkor/coupling.h"

namespace velkor {

Complex integrand(Coupling coupling, const Slab& slab, Complex beta, double alpha,
                  const ElementPair& pair);

}  // namespace velkor
