#include "model/project.h"

#include <algorithm>

namespace lumetra {

double NewProjectGridSize(std::int32_t pcbLx, std::int32_t pcbLy) {
  // 2 % of n millimetres is n/50; rounding that fraction in integers, half to even,
  // keeps 0.02 * n from landing a hair off a tie (125 mm gives Round(2.5) = 2).
  const std::int64_t n = std::max<std::int64_t>(0, std::max(pcbLx, pcbLy));
  std::int64_t grid = n / 50;
  const std::int64_t remainder = n % 50;
  if (remainder > 25 || (remainder == 25 && grid % 2 == 1)) ++grid;
  return grid == 0 ? 1.0 : static_cast<double>(grid);
}

void ResetToNewProject(Project& project, const std::string& projectFile,
                       std::int32_t pcbLx, std::int32_t pcbLy) {
  project.ProjectFile = projectFile;
  project.PcbLx = pcbLx;
  project.PcbLy = pcbLy;
  project.GridSize = NewProjectGridSize(pcbLx, pcbLy);
  project.Saved = true;
  project.Connected = false;
  project.Segments.clear();
  project.VoltageSources.clear();
  project.Impedances.clear();
  project.GroundPoints.clear();
}

std::int64_t TotalChargeCount(const std::vector<Segment>& segments) {
  std::int64_t total = 0;
  for (const Segment& s : segments) total += std::int64_t{s.ChX} * s.ChY;
  return total;
}

}  // namespace lumetra
