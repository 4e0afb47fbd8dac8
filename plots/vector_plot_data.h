// The vector current plot: per charge cell the vector sum of the currents that
// flow through it at one instant of the period, drawn as an arrow centred on the
// cell; and the time steps of stepping and animation.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "plots/current_samples.h"

namespace lumetra {

inline constexpr const char* VectorPlotNeedsComputationMessage =
    "Error: You have to perform a computation and save the project before a vector plot can be shown";

struct VectorCell {
  double X = 0.0, Y = 0.0, Dx = 0.0, Dy = 0.0;
  // 1-based numbers into the Jx / Jy samples of the elements ending on the cell:
  // [0] the element whose second cell this is, [1] the one whose first; 0 = none.
  std::array<std::int32_t, 2> JxNeighbour{0, 0};
  std::array<std::int32_t, 2> JyNeighbour{0, 0};
  std::complex<double> XSeed, YSeed;  // ground-point current on the cell
};

// The cells of the project's element files (.CHE, .JXE then .JXC, .JYE then
// .JYC, .GPC) with the ground-point currents of .ZZX/.ZZY at the frequency.
// Throws FileError on a damaged file.
std::vector<VectorCell> LoadVectorCells(const std::filesystem::path& projectFile,
                                        double frequencyMHz);
// Whether the charge element file holds no cell (missing counts as empty).
bool IsChargeFileEmpty(const std::filesystem::path& projectFile);

// Every neighbour number lies within its sample list.
bool NeighboursValid(const std::vector<VectorCell>& cells, const CurrentSamples& samples);

// The smallest cell extent; 0 without cells.
double SmallestCellSize(const std::vector<VectorCell>& cells);

// The complex current of a cell in x and y: its seed plus its neighbours' currents.
std::array<std::complex<double>, 2> CellCurrent(const VectorCell& cell,
                                                const CurrentSamples& samples);
// The largest peak magnitude sqrt(|Jx|^2 + |Jy|^2) over the cells; 0 without any.
double LargestCellCurrent(const std::vector<VectorCell>& cells, const CurrentSamples& samples);
// The arrow's half vector (mm) with its length proportional to the instantaneous
// current: the cell carrying the largest current is halfLongest long at the instant
// its current is real, times vectorScale. A vector longer than twice halfLongest
// is shortened to that length along its own direction, so enlarging never turns
// an arrow. Zero when largest is 0.
std::array<double, 2> ProportionalCellVector(const VectorCell& cell, const CurrentSamples& samples,
                                             double phaseTime, double vectorScale,
                                             double halfLongest, double largest);
// The half length (mm) of the longest arrow: most of the smallest cell, but never
// shorter on screen than minPixels so that the head can be made out.
double LongestHalfArrow(double dmin, double pixelsPerMm, double minPixels = 12.0);
// The colour of a magnitude as a fraction of the largest (0..1, clamped): dark blue
// through cyan and yellow to red, so that weak and strong currents tell apart.
std::array<int, 3> MagnitudeRgb(double fraction);

struct PixelLine {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
// The four strokes of an arrow (shaft front, two head lines, shaft back) for a
// cell at (x, y) mm with half vector v, s pixels per mm on a board pcbLy high
// (screen y grows downward).
std::array<PixelLine, 4> ArrowLines(double x, double y, std::array<double, 2> v, double s,
                                    double pcbLy);

// The time after one press of "<>" and after one animation tick.
double StepTime(double phaseTime);
double AnimationTime(double phaseTime);
// "t/T=0.05".
std::string TimeText(double phaseTime);

}  // namespace lumetra
