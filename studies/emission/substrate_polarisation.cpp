#include "studies/emission/substrate_polarisation.h"

namespace lumetra::emission {

std::vector<PointDipole> SubstratePolarisationDipoles(const NearFieldSources& sources,
                                                      double heightM, double epsR) {
  std::vector<PointDipole> out;
  if (!(epsR > 1.0) || !(heightM > 0.0)) return out;
  const double bound = 1.0 - 1.0 / epsR;
  for (SourceGroup group : {SourceGroup::JxElements, SourceGroup::JyElements}) {
    const bool alongX = group == SourceGroup::JxElements;
    for (const Dipole& d : sources.Group(group)) {
      // The element's moment is its current times its length along its axis.
      const double length = alongX ? d.SizeA : d.SizeB;
      if (!(length > 0.0)) continue;
      const std::complex<double> current(d.Moment.Re / length, d.Moment.Im / length);
      const std::complex<double> moment = -bound * current * (2.0 * heightM);
      const double half = 0.5 * length;
      const double dx = alongX ? half : 0.0, dy = alongX ? 0.0 : half;
      out.push_back({d.X + dx, d.Y + dy, -heightM, DipoleAxis::Z, moment});
      out.push_back({d.X - dx, d.Y - dy, -heightM, DipoleAxis::Z, -moment});
    }
  }
  return out;
}

}  // namespace lumetra::emission
