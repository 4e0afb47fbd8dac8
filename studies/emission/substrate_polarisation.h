// What a grounded substrate adds to the radiation of the traces on it.
//
// The charge q a trace carries sends its flux D down through the substrate to the
// ground plane. In the dielectric the field is E = D / (eps0 er), so the substrate
// holds a bound polarisation P = (1 - 1/er) D, which in air's Green's function is a
// vertical source: per charge q a polarisation dipole of moment -(1 - 1/er) q h,
// and the same again in its image in the ground plane. Its current moment is
// j omega times that; at the end of a current element where the element's current I
// piles up charge (q = I / (j omega)) it is -(1 - 1/er) I 2h, at the element's other
// end the opposite: a vertical current partly closing the loop of trace and ground
// return, which a thin substrate makes radiate more towards the horizon.
//
// For a thin substrate (k h sqrt(er) << 1) this reproduces the plane-wave result
// of the grounded slab: the field in the plane of the currents grows over the air
// value by (er - sin^2 theta) / (er cos^2 theta) while the field across it is
// unchanged. Fringing flux that leaves the trace sideways is taken as vertical.
#pragma once

#include <vector>

#include "fields/near_field_sources.h"
#include "studies/emission/test_site.h"

namespace lumetra::emission {

// The vertical polarisation dipoles (ground-plane images included, centred at
// depth h) of the Jx and Jy elements among sources, for a substrate of thickness
// heightM and relative permittivity epsR. None when epsR <= 1.
std::vector<PointDipole> SubstratePolarisationDipoles(const NearFieldSources& sources,
                                                      double heightM, double epsR);

}  // namespace lumetra::emission
