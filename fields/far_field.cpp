#include "fields/far_field.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "fields/result_files.h"
#include "model/project_files.h"
#include "model/stepped_range.h"
#include "solver/physical_constants.h"

namespace lumetra {

namespace {

constexpr double DegreeToRadian = 0.017453292519943295;
// mu0 eps0 and mu0 / eps0 of the free-space constants the solver uses.
constexpr double Mu0TimesEps0 = 1.1126264541953612e-17;
constexpr double Mu0OverEps0 = 141928.73971492177;

Complex Scaled(Complex z, double factor) { return {z.Re * factor, z.Im * factor}; }
Complex Added(Complex a, Complex b) { return {a.Re + b.Re, a.Im + b.Im}; }
Complex Phase(double angle) { return {std::cos(angle), std::sin(angle)}; }

// Points of one angle loop of the grid, counted as integers so that a stop angle on
// the step (0 to 90 by 0.3) is always reached; the writer visits exactly these.
std::int64_t CountLoop(double start, double stop, double step, const char* name) {
  if (!std::isfinite(start) || !std::isfinite(stop) || !std::isfinite(step) || !(step > 0.0) ||
      start + step == start)
    throw std::invalid_argument(std::string("far-field ") + name +
                                " step must be a positive number");
  const std::int64_t count = SteppedPointCount(start, stop, step, MaxFarFieldDirections);
  if (count > MaxFarFieldDirections)
    throw std::invalid_argument(std::string("far-field ") + name + " grid is too fine");
  return count;
}

void AppendLine(std::string& line, double theta, double phi, const FarFieldValue& value) {
  line.clear();
  line += FormatR13(theta);
  line += ' ';
  line += FormatR13(phi);
  line += ' ';
  line += FormatR13(CAbs(value.ETheta));
  line += ' ';
  line += FormatR13(CAbs(value.EPhi));
  line += LineEnd;
}

}  // namespace

std::int64_t CountDirections(const FarFieldGrid& grid) {
  const std::int64_t thetas = CountLoop(grid.ThetaStart, grid.ThetaStop, grid.ThetaStep, "theta");
  const std::int64_t phis = CountLoop(grid.PhiStart, grid.PhiStop, grid.PhiStep, "phi");
  if (thetas > 0 && phis > MaxFarFieldDirections / thetas)
    throw std::invalid_argument("far-field grid has too many directions");
  return thetas * phis;
}

bool ForEachDirection(const FarFieldGrid& grid, const std::function<bool(double, double)>& visit) {
  CountDirections(grid);  // refuses grids that would not end
  const std::int64_t thetas =
      CountLoop(grid.ThetaStart, grid.ThetaStop, grid.ThetaStep, "theta");
  const std::int64_t phis = CountLoop(grid.PhiStart, grid.PhiStop, grid.PhiStep, "phi");
  for (std::int64_t i = 0; i < thetas; ++i) {
    const double theta = SteppedPoint(grid.ThetaStart, grid.ThetaStep, i);
    for (std::int64_t j = 0; j < phis; ++j)
      if (!visit(theta, SteppedPoint(grid.PhiStart, grid.PhiStep, j))) return false;
  }
  return true;
}

FarFieldMedium MediumOf(const FrequencyConstants& constants) {
  FarFieldMedium medium;
  medium.K = constants.K;
  medium.Eta = std::sqrt(Mu0 / constants.EpsEff);
  medium.GroundPlane = constants.GroundPlane;
  medium.Height = constants.GroundPlane ? constants.Height : 0.0;
  return medium;
}

FarFieldMedium FreeSpaceMedium(double frequencyMHz, double groundPlaneHeightMetres) {
  FarFieldMedium medium;
  medium.K = TwoPi * frequencyMHz * 1e6 * std::sqrt(Mu0TimesEps0);
  medium.Eta = std::sqrt(Mu0OverEps0);
  medium.GroundPlane = groundPlaneHeightMetres > 0.0;
  medium.Height = medium.GroundPlane ? groundPlaneHeightMetres : 0.0;
  return medium;
}

RadiatingCurrents CurrentsOfSolution(const ElementLists& lists, const Complex* ix,
                                     const Complex* iy, const Complex* groundCurrents,
                                     double heightMetres) {
  RadiatingCurrents currents;
  const auto addElements = [&](const std::vector<CurrentCell>& cells, const Complex* densities,
                               bool alongX) {
    for (std::size_t n = 0; n < cells.size(); ++n)
      currents.Horizontal.push_back(
          {cells[n].X, cells[n].Y, alongX, Scaled(densities[n], cells[n].Dx * cells[n].Dy)});
  };
  // The horizontal half strip of a ground point runs from the edge into its charge
  // cell: a quarter cell from the cell centre towards the edge, half the cell long.
  const auto addHalfStrips = [&](bool onXEdge) {
    if (!groundCurrents) return;
    for (std::size_t i = 0; i < lists.GroundPoints.size(); ++i) {
      const GroundContact& g = lists.GroundPoints[i];
      if (g.OnXEdge != onXEdge) continue;
      const ChargeCell& q = lists.Charges.at(static_cast<std::size_t>(g.ChargeNo - 1));
      if (onXEdge)
        currents.Horizontal.push_back(
            {q.X - g.Side * q.Dx / 4, q.Y, true, Scaled(groundCurrents[i], (q.Dx / 2) * q.Dy)});
      else
        currents.Horizontal.push_back(
            {q.X, q.Y - g.Side * q.Dy / 4, false, Scaled(groundCurrents[i], q.Dx * (q.Dy / 2))});
    }
  };
  addElements(lists.Jx, ix, true);
  addHalfStrips(true);
  addElements(lists.Jy, iy, false);
  addHalfStrips(false);

  if (groundCurrents)
    for (std::size_t i = 0; i < lists.GroundPoints.size(); ++i) {
      const GroundContact& g = lists.GroundPoints[i];
      const ChargeCell& q = lists.Charges.at(static_cast<std::size_t>(g.ChargeNo - 1));
      const double width = g.OnXEdge ? q.Dy : q.Dx;
      currents.Vertical.push_back(
          {g.X, g.Y, g.Side, Scaled(groundCurrents[i], width * 2 * heightMetres)});
    }
  return currents;
}

bool EvaluateFarField(const RadiatingCurrents& currents, const FarFieldMedium& medium,
                      double thetaDeg, double phiDeg, const std::function<bool()>& aborted,
                      FarFieldValue& value) {
  const double theta = thetaDeg * DegreeToRadian, phi = phiDeg * DegreeToRadian;
  const double sinTheta = std::sin(theta), cosTheta = std::cos(theta);
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  const double k = medium.K, h = medium.Height;

  // Theta and phi components of the unit vectors x^ and y^.
  const double xTheta = cosTheta * cosPhi, xPhi = -sinPhi;
  const double yTheta = cosTheta * sinPhi, yPhi = cosPhi;

  Complex aTheta, aPhi;
  for (const HorizontalMoment& m : currents.Horizontal) {
    const double u = sinTheta * (m.X * cosPhi + m.Y * sinPhi);
    const Complex moment = CMul(m.Moment, Phase(k * u));
    aTheta = Added(aTheta, Scaled(moment, m.AlongX ? xTheta : yTheta));
    aPhi = Added(aPhi, Scaled(moment, m.AlongX ? xPhi : yPhi));
    if (aborted()) return false;
  }

  // The image of a horizontal moment is reversed and 2h deeper.
  Complex g{1.0, 0.0};
  if (medium.GroundPlane) {
    const double delay = 2 * k * h * cosTheta;
    g = {1.0 - std::cos(delay), std::sin(delay)};
  }

  // A vertical moment has only a theta component, -sin(theta); its centre lies at
  // depth h, the midpoint of the strip and its image.
  Complex vTheta;
  for (const VerticalMoment& m : currents.Vertical) {
    const double u = sinTheta * (m.X * cosPhi + m.Y * sinPhi);
    const Complex moment = CMul(m.Moment, Phase(k * (u - h * cosTheta)));
    vTheta = Added(vTheta, Scaled(moment, -sinTheta * m.Side));
    if (aborted()) return false;
  }

  // E = -j (eta K / 4 pi) A.
  const double c = medium.Eta * k * OneOverFourPi;
  const Complex theta_ = Added(CMul(aTheta, g), vTheta);
  const Complex phi_ = CMul(aPhi, g);
  value.ETheta = {c * theta_.Im, -c * theta_.Re};
  value.EPhi = {c * phi_.Im, -c * phi_.Re};
  return true;
}

bool WriteFarFieldBlock(const std::filesystem::path& radFile, bool firstPoint,
                        double frequencyMHz, const RadiatingCurrents& currents,
                        const FarFieldMedium& medium, const FarFieldGrid& grid,
                        const std::function<bool()>& aborted) {
  const std::int64_t count = CountDirections(grid);
  ResultFileStream file(radFile, firstPoint);
  std::string line;
  WriteResultHeader(line, frequencyMHz, count);
  file.Write(line);
  const bool completed = ForEachDirection(grid, [&](double theta, double phi) {
    FarFieldValue value;
    if (!EvaluateFarField(currents, medium, theta, phi, aborted, value)) return false;
    AppendLine(line, theta, phi, value);
    file.Write(line);
    return true;
  });
  // An aborted pattern is not kept in part: the file ends after the last whole block.
  if (completed) file.Close();
  else file.Discard();
  return completed;
}

bool WriteFarField(const std::filesystem::path& projectFile, bool firstPoint,
                   const FrequencyConstants& constants, const ElementLists& lists,
                   const Complex* ix, const Complex* iy, const Complex* groundCurrents,
                   const FarFieldGrid& grid, ComputationControl& control) {
  const FarFieldMedium medium = MediumOf(constants);
  const RadiatingCurrents currents = CurrentsOfSolution(
      lists, ix, iy, constants.GroundPlane ? groundCurrents : nullptr, medium.Height);
  return WriteFarFieldBlock(ProjectFileWithExtension(projectFile, ".RAD"), firstPoint,
                            constants.FrequencyMHz, currents, medium, grid,
                            [&] { return control.PumpAndCheckAbort(); });
}

}  // namespace lumetra
