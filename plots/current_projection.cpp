#include "plots/current_projection.h"

#include <cmath>

namespace lumetra {

void FitView(View3D& view, int width, int height, int pcbLx, int pcbLy) {
  // The test divides the height by 4 and the assignment by 2: a tall board is then
  // fitted to the height, a wide one keeps the margin the width leaves.
  view.Zoom = pcbLx > 0 ? width / (2.0 * pcbLx) : 1.0;
  if (pcbLy > 0 && height / (4.0 * pcbLy) < view.Zoom) view.Zoom = height / (2.0 * pcbLy);
  view.PanX = width / 2;
  view.PanY = height / 2;
}

namespace {
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

ScreenPoint ProjectPoint(const View3D& view, double x, double y, double z) {
  const double x1 = x * std::cos(view.RotZ) - y * std::sin(view.RotZ);
  const double y1 = y * std::cos(view.RotZ) + x * std::sin(view.RotZ);
  const double z1 = z;
  const double y2 = y1 * std::cos(view.RotY) - z1 * std::sin(view.RotY);
  const double z2 = z1 * std::cos(view.RotY) + y1 * std::sin(view.RotY);
  const double x2 = x1;
  const double x3 = x2 * std::cos(view.RotX) + z2 * std::sin(view.RotX);
  const double z3 = z2 * std::cos(view.RotX) - x2 * std::sin(view.RotX);
  const double y3 = y2;
  const double c = std::sin(std::numbers::pi / 4);
  return {Round(view.PanX) - Round(c * x3 - y3), Round(view.PanY) + Round(c * x3 - z3)};
}

std::array<ScreenPoint, 3> AxisTips(const View3D& view, ScreenPoint origin) {
  const double unit[3][3] = {{25, 0, 0}, {0, 25, 0}, {0, 0, 25}};
  std::array<ScreenPoint, 3> tips;
  for (int i = 0; i < 3; ++i) {
    const ScreenPoint p = ProjectPoint(view, unit[i][0], unit[i][1], unit[i][2]);
    tips[i] = {p.X - Round(view.PanX) + origin.X, p.Y - Round(view.PanY) + origin.Y};
  }
  return tips;
}

namespace {

struct Corners {
  double X1, X2, Y1, Y2;
};

Corners Rectangle(const View3D& view, double x, double y, double dx, double dy, int pcbLx,
                  int pcbLy) {
  return {(x - dx / 2 - pcbLx / 2.0) * view.Zoom, (x + dx / 2 - pcbLx / 2.0) * view.Zoom,
          (y - dy / 2 - pcbLy / 2.0) * view.Zoom, (y + dy / 2 - pcbLy / 2.0) * view.Zoom};
}

}  // namespace

std::array<ScreenLine, 4> SegmentOutline(const View3D& view, const Segment& segment, int pcbLx,
                                         int pcbLy) {
  const Corners c = Rectangle(view, segment.Xc, segment.Yc, segment.Lx, segment.Ly, pcbLx, pcbLy);
  const ScreenPoint a = ProjectPoint(view, c.X1, c.Y1, 0), b = ProjectPoint(view, c.X2, c.Y1, 0),
                    d = ProjectPoint(view, c.X2, c.Y2, 0), e = ProjectPoint(view, c.X1, c.Y2, 0);
  return {{{a, b}, {b, d}, {d, e}, {e, a}}};
}

std::array<ScreenLine, 12> SampleBar(const View3D& view, const CurrentSample& sample,
                                     double amplitudeScale, int pcbLx, int pcbLy) {
  const Corners c = Rectangle(view, sample.X, sample.Y, sample.Dx, sample.Dy, pcbLx, pcbLy);
  const double h = sample.Magnitude * amplitudeScale;
  ScreenPoint p[8];
  const double xs[4] = {c.X1, c.X2, c.X2, c.X1};
  const double ys[4] = {c.Y1, c.Y1, c.Y2, c.Y2};
  for (int i = 0; i < 4; ++i) {
    p[i] = ProjectPoint(view, xs[i], ys[i], 0);
    p[i + 4] = ProjectPoint(view, xs[i], ys[i], h);
  }
  std::array<ScreenLine, 12> lines;
  for (int i = 0; i < 4; ++i) {
    lines[i] = {p[i], p[(i + 1) % 4]};
    lines[i + 4] = {p[i + 4], p[(i + 1) % 4 + 4]};
    lines[i + 8] = {p[i], p[i + 4]};
  }
  return lines;
}

}  // namespace lumetra
