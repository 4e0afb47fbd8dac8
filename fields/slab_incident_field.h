// The plane wave's field along a current element lying on a grounded dielectric
// slab, found by reciprocity: the field that a unit thin current segment along the
// element radiates towards the direction the wave comes from, projected on the
// wave's polarisation, is in proportion to the field the wave impresses along the
// segment. The kernel library gives that far field, slab and ground plane included,
// so the value already holds the wave reflected by the plane and refracted by the
// slab (the assembly applies no reflection factor of its own).
//
// The result is the mean tangential field along the element, in V/m; the assembly
// multiplies it by the element's length like the homogeneous field of
// incident_field.h. It depends on the element's length through the segment's
// pattern.
#pragma once

#include "fields/incident_field.h"
#include "solver/complex_arithmetic.h"
#include "solver/frequency_constants.h"

namespace lumetra {

// For a Jx element centred at (x, y) (m) of length dx (m); constants give the
// frequency, the slab's relative permittivity and its thickness.
Complex SlabIncidentFieldX(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                           double y, double dx);
// For a Jy element of length dy.
Complex SlabIncidentFieldY(const PlaneWave& wave, const FrequencyConstants& constants, double x,
                           double y, double dy);

}  // namespace lumetra
