#include "tests/network/network_fixtures.h"

#include <algorithm>

#include "model/number_format.h"
#include "model/project_files.h"

namespace lumetra::testing {

Project ParallelLines(const TempDir& dir, const LinesLayout& l) {
  Project p;
  p.ProjectFile = (dir / "lines.PRO").string();
  p.PcbLx = 300;
  p.PcbLy = 200;
  const double dx = l.LengthMm / l.Cells;
  const double x0 = 150 - l.LengthMm / 2;
  int chargeBase = 0, jxBase = 0;
  for (int k = 0; k < l.Lines; ++k) {
    const double y = 100 + (k - (l.Lines - 1) / 2.0) * l.SpacingMm;
    p.Segments.push_back({150, y, l.LengthMm, l.WidthMm, l.Cells, 1});
    p.VoltageSources.push_back(
        {x0 + l.PortElement * dx, y, dx, l.WidthMm, 1.0, 0.0, true, jxBase + l.PortElement});
    if (l.FarPorts)
      p.VoltageSources.push_back(
          {x0 + l.LengthMm - dx, y, dx, l.WidthMm, 1.0, 0.0, true, jxBase + l.Cells - 1});
    if (l.GroundedEnds) {
      const double size = std::min(dx, l.WidthMm) / 3;
      p.GroundPoints.push_back({chargeBase + 1, EdgeLeft, size, x0, y});
      p.GroundPoints.push_back({chargeBase + l.Cells, EdgeRight, size, x0 + l.LengthMm, y});
    }
    chargeBase += l.Cells;
    jxBase += l.Cells - 1;
  }
  if (l.Stub) {
    // Down from the far end of line 1, touching its last cell.
    const double y = 100 - (l.Lines - 1) / 2.0 * l.SpacingMm;
    const double stub = std::max(l.SpacingMm / 2 - l.WidthMm, 2 * l.WidthMm);
    p.Segments.push_back({x0 + l.LengthMm - dx / 2, y - stub / 2 - l.WidthMm / 2, dx, stub,
                          1, std::max(2, static_cast<int>(stub / l.WidthMm))});
  }
  SaveProjectFiles(p, p.ProjectFile);
  return p;
}

ComputationSettings NetworkSettings(double startMHz, double stopMHz, double stepMHz) {
  ComputationSettings s;
  s.Frequency = FormatGeneral(startMHz);
  if (stopMHz > 0) {
    s.SweepFreq = true;
    s.StartFreq = FormatGeneral(startMHz);
    s.StopFreq = FormatGeneral(stopMHz);
    s.StepFreq = FormatGeneral(stepMHz);
  }
  s.ImpFile = false;
  s.CompSound = false;
  s.ShowCompTime = false;
  return s;
}

}  // namespace lumetra::testing
