#include "model/connections.h"

#include <cmath>

#include "model/project_files.h"

namespace lumetra {

namespace {

bool Touch(double a, double b) { return std::fabs(a - b) < TouchTolerance; }

// Open-interval overlap of [lowA, highA] and [lowB, highB]: segments that meet only
// at a corner do not overlap.
bool Overlap(double lowA, double highA, double lowB, double highB) {
  return highB > lowA && lowB < highA;
}

// Calls match(a, b) (1-based) for every pair of cell centres a, b of two rows of
// cells that coincide exactly, in the order a ascending, then b ascending. Both
// centre sequences are non-decreasing, so one pass over each suffices.
template <typename Match>
void MatchCentres(int countA, double startA, double pitchA, int countB, double startB,
                  double pitchB, Match match) {
  int first = 1;
  for (int a = 1; a <= countA; ++a) {
    const double centreA = startA + (a - 0.5) * pitchA;
    while (first <= countB && startB + (first - 0.5) * pitchB < centreA) ++first;
    for (int b = first; b <= countB && startB + (b - 0.5) * pitchB == centreA; ++b) match(a, b);
  }
}

}  // namespace

bool CheckConnections(const std::vector<Segment>& segments) {
  const std::size_t n = segments.size();
  for (std::size_t p = 0; p < n; ++p) {
    const Segment& a = segments[p];
    const SegmentGeometry ga = GeometryOf(a);
    const double rhoXA = a.ChX / a.Lx, rhoYA = a.ChY / a.Ly;  // charges per mm
    for (std::size_t q = p; q < n; ++q) {
      const Segment& b = segments[q];
      const SegmentGeometry gb = GeometryOf(b);
      const double rhoXB = b.ChX / b.Lx, rhoYB = b.ChY / b.Ly;
      const bool yOverlap = Overlap(ga.Y1, ga.Y2, gb.Y1, gb.Y2);
      const bool xOverlap = Overlap(ga.X1, ga.X2, gb.X1, gb.X2);
      if ((Touch(gb.X2, ga.X1) || Touch(gb.X1, ga.X2)) && yOverlap && rhoYA != rhoYB) return true;
      if ((Touch(gb.Y2, ga.Y1) || Touch(gb.Y1, ga.Y2)) && xOverlap && rhoXA != rhoXB) return true;
    }
  }
  return false;
}

ConnectingElements FindConnectingElements(const std::vector<Segment>& segments) {
  ConnectingElements result;
  std::vector<std::int32_t> bases(segments.size());
  std::int64_t base = 0;
  for (std::size_t k = 0; k < segments.size(); ++k) {
    bases[k] = static_cast<std::int32_t>(base);
    base += ChargeCount(segments[k]);
  }
  for (std::size_t p = 0; p < segments.size(); ++p) {
    const Segment& a = segments[p];
    const SegmentGeometry ga = GeometryOf(a);
    for (std::size_t q = 0; q < segments.size(); ++q) {
      const Segment& b = segments[q];
      const SegmentGeometry gb = GeometryOf(b);
      // A left of B: rows of equal height are joined across A's right edge.
      if (Touch(ga.X2, gb.X1) && Overlap(ga.Y1, ga.Y2, gb.Y1, gb.Y2)) {
        MatchCentres(a.ChY, ga.Y1, ga.Dy, b.ChY, gb.Y1, gb.Dy, [&](int ra, int rb) {
          result.Jx.push_back({ga.X2 - ga.Dx / 4 + gb.Dx / 4, ga.Y1 + (ra - 0.5) * ga.Dy,
                               (ga.Dx + gb.Dx) / 2, ga.Dy, bases[p] + ra * a.ChX,
                               bases[q] + (rb - 1) * b.ChX + 1});
        });
      }
      // A above B: columns of equal position are joined across A's bottom edge;
      // the current runs upwards from B's top row into A's bottom row.
      if (Touch(ga.Y1, gb.Y2) && Overlap(ga.X1, ga.X2, gb.X1, gb.X2)) {
        MatchCentres(a.ChX, ga.X1, ga.Dx, b.ChX, gb.X1, gb.Dx, [&](int ca, int cb) {
          result.Jy.push_back({ga.X1 + (ca - 0.5) * ga.Dx, ga.Y1 + ga.Dy / 4 - gb.Dy / 4, ga.Dx,
                               (ga.Dy + gb.Dy) / 2, bases[q] + (b.ChY - 1) * b.ChX + cb,
                               bases[p] + ca});
        });
      }
    }
  }
  return result;
}

bool RunConnectionStep(Project& project, UserInterface& ui) {
  BusyCursor busy(ui);
  if (CheckConnections(project.Segments)) {
    project.Connected = false;
    return false;
  }
  const int count = static_cast<int>(project.Segments.size());
  ui.SetProgress(0, count);
  const ConnectingElements elements = FindConnectingElements(project.Segments);
  WriteConnectingElementFile(ProjectFileWithExtension(project.ProjectFile, ".JXC"), elements.Jx);
  WriteConnectingElementFile(ProjectFileWithExtension(project.ProjectFile, ".JYC"), elements.Jy);
  ui.SetProgress(count, count);
  project.Connected = true;
  return true;
}

}  // namespace lumetra
