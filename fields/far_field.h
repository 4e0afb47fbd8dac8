// The radiation pattern of the solved currents, written to the project's .RAD file.
//
// Every current element is a short horizontal current moment on the board (z = 0);
// every ground point adds a horizontal half strip and a vertical current of length
// 2h (the strip down to the ground plane together with its image). Far from the
// board the field of a moment M at (x, y) in direction (theta, phi) carries the
// phase exp(j K u), u = sin(theta) (x cos(phi) + y sin(phi)), referred to the
// origin. A perfectly conducting ground plane at depth h mirrors every horizontal
// moment with the opposite sign at depth 2h, which multiplies the horizontal part
// by G = 1 - exp(-j 2 K h cos(theta)) and nulls it along the board (theta = 90).
// The written amplitudes are the field times the distance (V), without the
// propagation phase.
//
// This is the homogeneous-medium pattern: free space or the image model, in the
// computation's effective permittivity. A layout on a dielectric substrate radiates
// through the slab, whose element patterns come from the kernel library.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "solver/complex_arithmetic.h"
#include "solver/computation_control.h"
#include "solver/element_lists.h"
#include "solver/frequency_constants.h"

namespace lumetra {

// The directions of a pattern, degrees: theta (outer loop) from ThetaStart in steps
// of ThetaStep while not above ThetaStop, phi (inner loop) likewise. The loop
// variables advance by repeated addition, so the last value is whatever the sum
// reaches, exactly as the written angles show it.
struct FarFieldGrid {
  double ThetaStart = 0.0, ThetaStop = 90.0, ThetaStep = 2.0;
  double PhiStart = 0.0, PhiStop = 360.0, PhiStep = 18.0;
};

// Number of directions of the grid (the line count of a .RAD block). Throws
// std::invalid_argument for a step that is not a positive number or a grid of more
// than MaxFarFieldDirections points, which would never end or fill the disk.
inline constexpr std::int64_t MaxFarFieldDirections = 100'000'000;
std::int64_t CountDirections(const FarFieldGrid& grid);

// Calls visit(theta, phi) for every direction in file order; stops early and
// returns false when visit returns false.
bool ForEachDirection(const FarFieldGrid& grid, const std::function<bool(double, double)>& visit);

// A horizontal current moment (A m) along x or y at a board point (m).
struct HorizontalMoment {
  double X, Y;
  bool AlongX;
  Complex Moment;
};

// The vertical current of a ground point at its edge midpoint (m): moment
// I w 2h (A m), Side +1 or -1 as the ground point's side.
struct VerticalMoment {
  double X, Y;
  int Side;
  Complex Moment;
};

// What radiates, in summation order: Jx elements, the horizontal halves of the
// left/right-edge ground points, Jy elements, those of the bottom/top-edge ones.
struct RadiatingCurrents {
  std::vector<HorizontalMoment> Horizontal;
  std::vector<VerticalMoment> Vertical;
};

// The medium the pattern is computed in.
struct FarFieldMedium {
  double K = 0.0;            // wavenumber, rad/m
  double Eta = 0.0;          // wave impedance, ohm
  bool GroundPlane = false;  // apply the image of the horizontal moments
  double Height = 0.0;       // ground plane below the board, m
};

// The medium of a computation: its K and eta = sqrt(mu0 / EpsEff).
FarFieldMedium MediumOf(const FrequencyConstants& constants);
// Free space with the ground plane of the project (height <= 0: none).
FarFieldMedium FreeSpaceMedium(double frequencyMHz, double groundPlaneHeightMetres);

// The moments of a solution: ix (NX densities), iy (NY densities) and, when the
// ground points were modelled, groundCurrents (NG unknowns; null otherwise).
// heightMetres is the ground plane's depth, which sets the vertical moments.
RadiatingCurrents CurrentsOfSolution(const ElementLists& lists, const Complex* ix,
                                     const Complex* iy, const Complex* groundCurrents,
                                     double heightMetres);

struct FarFieldValue {
  Complex ETheta, EPhi;  // V (field times distance)
};

// The field in one direction (degrees). aborted() is asked after every element;
// when it answers true the sum stops and the function returns false.
bool EvaluateFarField(const RadiatingCurrents& currents, const FarFieldMedium& medium,
                      double thetaDeg, double phiDeg, const std::function<bool()>& aborted,
                      FarFieldValue& value);

// One .RAD block over the grid, opened by the result-file rule. On abort, or a
// write error, the file is cut back to where the block began (empty at the first
// point); an abort returns false, a write error throws FileError.
bool WriteFarFieldBlock(const std::filesystem::path& radFile, bool firstPoint,
                        double frequencyMHz, const RadiatingCurrents& currents,
                        const FarFieldMedium& medium, const FarFieldGrid& grid,
                        const std::function<bool()>& aborted);

// The pattern of one solved frequency point, appended to the project's .RAD (the
// first point of a run truncates it). ix and iy hold NX and NY densities;
// groundCurrents the NG ground-point unknowns when they were modelled, else null.
// The abort flag is polled after every element; returns false when it was set,
// the unfinished block taken back.
bool WriteFarField(const std::filesystem::path& projectFile, bool firstPoint,
                   const FrequencyConstants& constants, const ElementLists& lists,
                   const Complex* ix, const Complex* iy, const Complex* groundCurrents,
                   const FarFieldGrid& grid, ComputationControl& control);

}  // namespace lumetra
