#include "fields/far_field_dielectric.h"

#include <cmath>
#include <string>

#include "fields/result_files.h"
#include "model/project_files.h"
#include "velkor/velkor.h"

namespace lumetra {

namespace {

constexpr double DegreeToRadian = 0.017453292519943295;
constexpr double AlongBoard = 90.0;
constexpr double OffBoard = 89.99;
constexpr double AngleNoise = 1e-9;  // degrees

using ElementPattern = void (*)(double, double, double, double, double, double, double, double,
                                double, double*, double*, double*, double*);

// Adds I times the unit element's field for every element of one list.
bool AddElements(const std::vector<CurrentCell>& cells, const Complex* densities,
                 ElementPattern pattern, const SlabMedium& slab, double theta, double phi,
                 const std::function<bool()>& aborted, FarFieldValue& sum) {
  for (std::size_t n = 0; n < cells.size(); ++n) {
    const CurrentCell& c = cells[n];
    Complex eTheta, ePhi;
    pattern(theta, phi, slab.FrequencyMHz, slab.EpsR, slab.Height, c.X, c.Y, c.Dx / 2, c.Dy / 2,
            &eTheta.Re, &eTheta.Im, &ePhi.Re, &ePhi.Im);
    const Complex i = densities[n];
    const Complex t = CMul(i, eTheta), p = CMul(i, ePhi);
    sum.ETheta = {sum.ETheta.Re + t.Re, sum.ETheta.Im + t.Im};
    sum.EPhi = {sum.EPhi.Re + p.Re, sum.EPhi.Im + p.Im};
    if (aborted()) return false;
  }
  return true;
}

}  // namespace

double SlabPatternTheta(double thetaDeg) {
  if (std::fabs(thetaDeg - AlongBoard) <= AngleNoise) return OffBoard;
  if (std::fabs(thetaDeg + AlongBoard) <= AngleNoise) return -OffBoard;
  return thetaDeg;
}

bool EvaluateSlabFarField(const ElementLists& lists, const Complex* ix, const Complex* iy,
                          const SlabMedium& slab, double thetaDeg, double phiDeg,
                          const std::function<bool()>& aborted, FarFieldValue& value) {
  const double theta = thetaDeg * DegreeToRadian, phi = phiDeg * DegreeToRadian;
  value = {};
  return (lists.Jx.empty() || AddElements(lists.Jx, ix, _farfieldjx, slab, theta, phi, aborted, value)) &&
         (lists.Jy.empty() || AddElements(lists.Jy, iy, _farfieldjy, slab, theta, phi, aborted, value));
}

bool WriteFarFieldDielectric(const std::filesystem::path& projectFile, bool firstPoint,
                             const SlabMedium& slab, const ElementLists& lists, const Complex* ix,
                             const Complex* iy, const FarFieldGrid& grid,
                             ComputationControl& control) {
  const std::int64_t count = CountDirections(grid);
  ResultFileStream file(ProjectFileWithExtension(projectFile, ".RAD"), firstPoint);
  std::string line;
  WriteResultHeader(line, slab.FrequencyMHz, count);
  file.Write(line);
  const auto aborted = [&] { return control.PumpAndCheckAbort(); };
  const bool completed = ForEachDirection(grid, [&](double gridTheta, double phi) {
    const double theta = SlabPatternTheta(gridTheta);
    FarFieldValue value;
    if (!EvaluateSlabFarField(lists, ix, iy, slab, theta, phi, aborted, value)) return false;
    line.clear();
    line += FormatR13(theta);
    line += ' ';
    line += FormatR13(phi);
    line += ' ';
    line += FormatR13(CAbs(value.ETheta));
    line += ' ';
    line += FormatR13(CAbs(value.EPhi));
    line += LineEnd;
    file.Write(line);
    return true;
  });
  // An aborted pattern is not kept in part: the file ends after the last whole block.
  if (completed) file.Close();
  else file.Discard();
  return completed;
}

}  // namespace lumetra
