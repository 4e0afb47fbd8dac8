// The radiation pattern of a layout on a grounded dielectric slab, written to the
// project's .RAD file like the homogeneous pattern of far_field.h.
//
// Each current element radiates through the slab: its pattern comes from the
// kernel library's far field of a unit rectangular current element (which includes
// the element's area, the slab and the ground plane), scaled by the element's
// solved current density. Ground points never occur with a slab.
#pragma once

#include <filesystem>
#include <functional>

#include "fields/far_field.h"
#include "solver/complex_arithmetic.h"
#include "solver/computation_control.h"
#include "solver/element_lists.h"

namespace lumetra {

struct SlabMedium {
  double EpsR = 1.0;
  double FrequencyMHz = 0.0;
  double Height = 0.0;  // slab thickness, m
};

// Along the board (theta = +-90 degrees) the vertical wavenumber in the air is zero:
// the branch point of the slab kernel. The library is not asked there; the pattern
// is taken at +-89.99 degrees instead, and written so (it is nearly zero there: a
// horizontal current over a ground plane does not radiate along the plane). A theta
// that the grid's repeated addition brings within 1e-9 degrees of +-90 is the same
// direction and is treated alike.
double SlabPatternTheta(double thetaDeg);

// The field in one direction (degrees, theta already moved off +-90): the sum over
// the Jx elements (densities ix) and the Jy elements (iy; either may be null when
// its list is empty). aborted() is asked after every element; true stops the sum
// and the function returns false.
bool EvaluateSlabFarField(const ElementLists& lists, const Complex* ix, const Complex* iy,
                          const SlabMedium& slab, double thetaDeg, double phiDeg,
                          const std::function<bool()>& aborted, FarFieldValue& value);

// One .RAD block of the solved point (the first point of a run truncates the
// file). Returns false when the abort flag was found set; the unfinished block is
// then taken back, as it is on a write error (a FileError).
bool WriteFarFieldDielectric(const std::filesystem::path& projectFile, bool firstPoint,
                             const SlabMedium& slab, const ElementLists& lists, const Complex* ix,
                             const Complex* iy, const FarFieldGrid& grid,
                             ComputationControl& control);

}  // namespace lumetra
