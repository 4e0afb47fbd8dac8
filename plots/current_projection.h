// The oblique view of the 3D current plot: three rotations and a cavalier
// projection in which y runs to the right, z upward and x toward the lower left.
#pragma once

#include <array>
#include <cstdint>
#include <numbers>
#include <vector>

#include "plots/current_samples.h"

namespace lumetra {

struct ScreenPoint {
  int X = 0, Y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

struct View3D {
  double RotX = 0.0, RotY = 0.0, RotZ = std::numbers::pi / 4;
  double Zoom = 1.0;             // pixels per mm
  double PanX = 0.0, PanY = 0.0; // pixels
};

// Zoom and pan that fit the board into a paint area of width x height pixels.
void FitView(View3D& view, int width, int height, int pcbLx, int pcbLy);

// The screen point of (x, y, z), all already in pixels.
ScreenPoint ProjectPoint(const View3D& view, double x, double y, double z);

// The tips of the axis triad drawn from the fixed origin: x, y and z.
std::array<ScreenPoint, 3> AxisTips(const View3D& view, ScreenPoint origin);

struct ScreenLine {
  ScreenPoint From, To;
};

// A segment's outline on the board (z = 0), the board centre at the origin.
std::array<ScreenLine, 4> SegmentOutline(const View3D& view, const Segment& segment, int pcbLx,
                                         int pcbLy);
// The twelve edges of a sample's bar, from the board up to its magnitude times
// amplitudeScale (pixels, independent of the zoom).
std::array<ScreenLine, 12> SampleBar(const View3D& view, const CurrentSample& sample,
                                     double amplitudeScale, int pcbLx, int pcbLy);

}  // namespace lumetra
