// The field of a short current element (Hertzian dipole) at any distance, and of
// its image in a perfectly conducting ground plane.
//
// A dipole of moment m = I l (A m) pointing along p, seen from a field point at the
// vector R = (dx, dy, dz) from its centre (R = |R|, u = k R), carries in the time
// convention e^(-jkR)
//   H = m (1 + j u) e^(-j u) / (4 pi R^3)  (p x R)
//   E_i = -j (30 m / k) e^(-j u) [ (u^2 - 1 - j u) / R^3  delta_ip
//                                + (3 + 3 j u - u^2) R_p R_i / R^5 ]
// the exact near-, intermediate- and far-zone terms together. The constant 30 is
// eta / (4 pi) for eta0 = 120 pi in free space; in a medium of relative
// permittivity er the wave impedance, and with it this constant, is smaller by
// sqrt(er) (MediumEtaOverFourPi).
#pragma once

#include "solver/complex_arithmetic.h"

namespace lumetra {

enum class DipoleAxis { X, Y, Z };

// eta0 / (4 pi) with eta0 = 120 pi.
inline constexpr double FreeSpaceEtaOverFourPi = 30.0;
// eta / (4 pi) of the medium whose wavenumber is k at frequencyMHz: the free-space
// value times k0 / k = 1 / sqrt(er).
double MediumEtaOverFourPi(double frequencyMHz, double k);

// One radiating element, all lengths in metres.
struct Dipole {
  double X = 0.0, Y = 0.0, Z = 0.0;  // centre
  DipoleAxis Axis = DipoleAxis::X;
  Complex Moment;  // A m
  // The two sizes of the element the dipole stands for; a field point closer to
  // the centre than the larger of them is too close for the dipole model.
  double SizeA = 0.0, SizeB = 0.0;
  // Mirrored in the ground plane: an image at depth ImageZ with the opposite moment.
  bool HasImage = false;
  double ImageZ = 0.0;
};

// The six complex field components at one point: E in V/m, H in A/m.
struct FieldSample {
  Complex Ex, Ey, Ez;
  Complex Hx, Hy, Hz;
};

// The three kernels of one dipole for one field point. R (m) and u = k R are the
// distance and its electrical length; k (rad/m) the wavenumber.
// H component: m dc (1 + j u) e^(-j u) / (4 pi R^3), dc the coordinate difference
// the component takes.
Complex DipoleH(Complex moment, double dc, double r, double u);
// E component along the dipole, dp the coordinate difference along it.
Complex DipoleEParallel(Complex moment, double dp, double r, double u, double k,
                        double etaOverFourPi = FreeSpaceEtaOverFourPi);
// E component across the dipole: dp along the dipole, dq along the component.
Complex DipoleECross(Complex moment, double dp, double dq, double r, double u, double k,
                     double etaOverFourPi = FreeSpaceEtaOverFourPi);

// Adds the field of the dipole (and subtracts that of its image, if it has one)
// at the point (x, y, z) to sample. Sets tooClose when the point lies nearer the
// dipole or its image than the larger size of the element. A point at the very
// centre (closer than CoincidenceTolerance) would divide by zero; that source is
// left out for the point, and tooClose is set.
void AddDipoleField(const Dipole& dipole, double x, double y, double z, double k,
                    FieldSample& sample, bool& tooClose,
                    double etaOverFourPi = FreeSpaceEtaOverFourPi);

}  // namespace lumetra
