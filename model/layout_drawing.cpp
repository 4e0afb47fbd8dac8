#include "model/layout_drawing.h"

#include "model/discretisation.h"
#include "model/file_io.h"
#include "model/layout_view_geometry.h"
#include "model/project_files.h"

namespace lumetra {

namespace {

class Painter {
public:
  Painter(const Project& project, double scale, std::vector<DrawStep>& out)
      : pcbLy_(project.PcbLy), scale_(scale), out_(out) {}

  int Px(double x) const { return BoardToPixelX(x, scale_); }
  int Py(double y) const { return BoardToPixelY(y, scale_, pcbLy_); }
  int Length(double mm) const { return static_cast<int>(RoundHalfEven(mm * scale_)); }

  void Add(DrawKind kind, DrawRole role, int x1, int y1, int x2, int y2) {
    DrawStep step;
    step.Kind = kind;
    step.Role = role;
    step.X1 = x1;
    step.Y1 = y1;
    step.X2 = x2;
    step.Y2 = y2;
    out_.push_back(std::move(step));
  }
  void Text(int x, int y, std::string text, DrawRole role, bool white) {
    DrawStep step;
    step.Kind = DrawKind::Text;
    step.Role = role;
    step.X1 = x;
    step.Y1 = y;
    step.Label = std::move(text);
    step.WhiteText = white;
    out_.push_back(std::move(step));
  }
  // A number centred in the box left..right, top..bottom; X1,Y1 keep the start of
  // an 8-pixel label (2 pixels left of and 5 above the middle).
  void Backed() { out_.back().Backed = true; }
  void CentredText(int left, int top, int right, int bottom, std::string text, DrawRole role,
                   bool white) {
    Text(left - 2 + (right - left) / 2, top - 5 + (bottom - top) / 2, std::move(text), role,
         white);
    DrawStep& step = out_.back();
    step.X2 = left + (right - left) / 2;
    step.Y2 = top + (bottom - top) / 2;
    step.Centred = true;
  }
  // A label centred on a point; X1,Y1 keep the start of an 8-pixel label (3 left of
  // the point and `rise` above it).
  void TextAbout(int x, int y, int rise, std::string text, DrawRole role) {
    Text(x - 3, y - rise, std::move(text), role, false);
    DrawStep& step = out_.back();
    step.X2 = x;
    step.Y2 = y - rise + 4;
    step.Centred = true;
  }

  // A rectangle of centre (x, y) and size dx, dy; one pixel is added on the right
  // and at the bottom so that the outline includes the far edge.
  void CentredRect(DrawKind kind, DrawRole role, double x, double y, double dx,
                   double dy, const std::string& number, bool white) {
    const int left = Px(x - dx / 2), top = Py(y + dy / 2);
    const int right = Px(x + dx / 2) + 1, bottom = Py(y - dy / 2) + 1;
    Add(kind, role, left, top, right, bottom);
    if (!number.empty()) CentredText(left, top, right, bottom, number, role, white);
  }

private:
  std::int32_t pcbLy_;
  double scale_;
  std::vector<DrawStep>& out_;
};

void Segments(const Project& project, Painter& p) {
  for (const Segment& s : project.Segments)
    p.CentredRect(DrawKind::Outline, DrawRole::Black, s.Xc, s.Yc, s.Lx, s.Ly, {}, false);
}

// The numbers come after the element lines so that no line crosses them.
void SegmentNumbers(const Project& project, Painter& p) {
  for (std::size_t k = 0; k < project.Segments.size(); ++k) {
    const Segment& s = project.Segments[k];
    p.CentredText(p.Px(s.Xc - s.Lx / 2), p.Py(s.Yc + s.Ly / 2), p.Px(s.Xc + s.Lx / 2) + 1,
                  p.Py(s.Yc - s.Ly / 2) + 1, std::to_string(k + 1), DrawRole::Black, false);
    p.Backed();
  }
}

void ChargeCells(const Project& project, Painter& p) {
  for (const Segment& s : project.Segments) {
    const SegmentGeometry g = GeometryOf(s);
    const int top = p.Py(g.Y2);
    for (int i = 1; i < s.ChX; ++i) {
      const int x = p.Px(g.X1 + i * g.Dx);
      p.Add(DrawKind::Line, DrawRole::Black, x, top, x, top + p.Length(s.Ly));
    }
    for (int j = 1; j < s.ChY; ++j) {
      const int y = p.Py(g.Y1 + j * g.Dy);
      p.Add(DrawKind::Line, DrawRole::Black, p.Px(g.X1), y, p.Px(g.X2), y);
    }
  }
}

// Jx elements reach from cell centre to cell centre along x: lines through the
// centres across the whole segment, closed by the interior row boundaries.
void JxElements(const Project& project, Painter& p) {
  for (const Segment& s : project.Segments) {
    if (s.ChX <= 1) continue;
    const SegmentGeometry g = GeometryOf(s);
    for (int i = 0; i < s.ChX; ++i) {
      const int x = p.Px(g.X1 + g.Dx / 2 + i * g.Dx);
      p.Add(DrawKind::Line, DrawRole::Jx, x, p.Py(g.Y2), x, p.Py(g.Y1));
    }
    const int first = p.Px(g.X1 + g.Dx / 2), last = p.Px(g.X2 - g.Dx / 2);
    for (int j = 1; j < s.ChY; ++j) {
      const int y = p.Py(g.Y1 + j * g.Dy);
      p.Add(DrawKind::Line, DrawRole::Jx, first, y, last, y);
    }
  }
}

void JyElements(const Project& project, Painter& p) {
  for (const Segment& s : project.Segments) {
    if (s.ChY <= 1) continue;
    const SegmentGeometry g = GeometryOf(s);
    for (int j = 0; j < s.ChY; ++j) {
      const int y = p.Py(g.Y1 + g.Dy / 2 + j * g.Dy);
      p.Add(DrawKind::Line, DrawRole::Jy, p.Px(g.X1), y, p.Px(g.X2), y);
    }
    const int first = p.Py(g.Y1 + g.Dy / 2), last = p.Py(g.Y2 - g.Dy / 2);
    for (int i = 1; i < s.ChX; ++i) {
      const int x = p.Px(g.X1 + i * g.Dx);
      p.Add(DrawKind::Line, DrawRole::Jy, x, last, x, first);
    }
  }
}

template <typename Item>
void Markers(const std::vector<Item>& items, DrawRole role, Painter& p) {
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Item& item = items[k];
    p.CentredRect(DrawKind::FilledRect, role, item.X, item.Y, item.Dx, item.Dy,
                  std::to_string(k + 1), true);
  }
}

void GroundPoints(const Project& project, int numberRise, Painter& p) {
  for (std::size_t k = 0; k < project.GroundPoints.size(); ++k) {
    const GroundPoint& gp = project.GroundPoints[k];
    const int cx = p.Px(gp.X), cy = p.Py(gp.Y), r = p.Length(gp.Size);
    p.Add(DrawKind::Ellipse, DrawRole::GroundPoint, cx - r, cy - r, cx + r, cy + r);
    p.TextAbout(cx, cy, numberRise, std::to_string(k + 1), DrawRole::Black);
  }
}

}  // namespace

std::vector<DrawStep> DrawLayout(const Project& project, const LayoutDisplay& display,
                                 double scale) {
  std::vector<DrawStep> steps;
  Painter p(project, scale, steps);
  p.Add(DrawKind::Outline, DrawRole::Black, 0, 0, p.Length(project.PcbLx),
        p.Length(project.PcbLy));
  if (project.ShowGridPoints && project.GridSize > 0) {
    // Counted from the top-left corner, like the snap grid.
    const std::int64_t nx = RoundHalfEven(project.PcbLx / project.GridSize);
    const std::int64_t ny = RoundHalfEven(project.PcbLy / project.GridSize);
    for (std::int64_t i = 1; i <= nx; ++i)
      for (std::int64_t j = 1; j <= ny; ++j)
        p.Add(DrawKind::Pixel, DrawRole::Black, p.Length(i * project.GridSize),
              p.Length(j * project.GridSize), 0, 0);
  }
  Segments(project, p);
  if (display.ShowCharges) ChargeCells(project, p);
  if (display.ShowJx) JxElements(project, p);
  if (display.ShowJy) JyElements(project, p);
  if (display.ShowSegmentNumbers) SegmentNumbers(project, p);
  Markers(project.VoltageSources, DrawRole::VoltageSource, p);
  Markers(project.Impedances, DrawRole::Impedance, p);
  GroundPoints(project, display.GroundNumberRise, p);
  return steps;
}

std::vector<DrawStep> DrawConnectingElements(const Project& project, double scale) {
  std::vector<DrawStep> steps;
  if (!project.Connected) return steps;
  Painter p(project, scale, steps);
  const auto draw = [&](const char* extension, DrawRole role) {
    const std::filesystem::path path = ProjectFileWithExtension(project.ProjectFile, extension);
    for (const CurrentElement& e : ParseCurrentElementFile(ReadTextFile(path), path.string())) {
      const int left = p.Px(e.X - e.Dx / 2), top = p.Py(e.Y + e.Dy / 2);
      p.Add(DrawKind::FilledRect, role, left, top, p.Px(e.X + e.Dx / 2) + 1,
            p.Py(e.Y - e.Dy / 2) + 1);
    }
  };
  draw(".JXC", DrawRole::Jx);
  draw(".JYC", DrawRole::Jy);
  return steps;
}

}  // namespace lumetra
