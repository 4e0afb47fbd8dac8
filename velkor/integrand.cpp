#include "velkor/integrand.h"

#include <cmath>

#include "velkor/element_transforms.h"
#include "velkor/slab_green_function.h"

namespace velkor {

Complex integrand(Coupling coupling, const Slab& slab, Complex beta, double alpha,
                  const ElementPair& pair) {
  const Complex kx = beta * std::cos(alpha);
  const Complex ky = beta * std::sin(alpha);
  const SlabSpectrum spectrum = slab_green_function(beta * beta, slab.k0, slab.er, slab.h);
  const Complex phase = std::exp(J * (kx * pair.dx + ky * pair.dy));
  const Complex source = pair.edge_singular
                             ? edge_source_transform(kx, ky, pair.ax, pair.ay, source_along_x(coupling))
                             : source_transform(kx, ky, pair.ax, pair.ay);
  switch (coupling) {
    case Coupling::xx:
      return (spectrum.exx(kx) - spectrum.axx(kx)) * source *
             std::conj(segment_transform(kx, pair.at)) * phase;
    case Coupling::yy:
      return (spectrum.eyy(ky) - spectrum.ayy(ky)) * source *
             std::conj(segment_transform(ky, pair.at)) * phase;
    case Coupling::xy:
      return (spectrum.exy(kx, ky) - spectrum.axy(kx, ky)) * source *
             std::conj(segment_transform(kx, pair.at)) * phase;
    case Coupling::yx:
      return (spectrum.exy(kx, ky) - spectrum.axy(kx, ky)) * source *
             std::conj(segment_transform(ky, pair.at)) * phase;
  }
  return 0.0;
}

}  // namespace velkor
