#include "studies/emission/test_site.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "studies/emission/dipole_field.h"

namespace lumetra::emission {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

std::complex<double> ToStd(Complex z) { return {z.Re, z.Im}; }

void Require(bool ok, const char* message) {
  if (!ok) throw std::invalid_argument(message);
}

bool Within(double value, double low, double high) {
  return std::isfinite(value) && value >= low && value <= high;
}

}  // namespace

std::vector<PointDipole> FlattenSources(const NearFieldSources& sources) {
  std::vector<PointDipole> out;
  std::size_t count = 0;
  for (const auto& group : sources.Groups) count += 2 * group.size();
  out.reserve(count);
  for (const auto& group : sources.Groups) {
    for (const Dipole& d : group) {
      out.push_back({d.X, d.Y, d.Z, d.Axis, ToStd(d.Moment)});
      if (d.HasImage) out.push_back({d.X, d.Y, d.ImageZ, d.Axis, -ToStd(d.Moment)});
    }
  }
  return out;
}

std::vector<PointDipole> WithFloorImages(const std::vector<PointDipole>& dipoles, double floorZ) {
  std::vector<PointDipole> out(dipoles);
  out.reserve(2 * dipoles.size());
  for (const PointDipole& d : dipoles) {
    // A perfect conductor reverses the tangential current of the image and keeps
    // the normal one.
    const double sign = d.Axis == DipoleAxis::Z ? 1.0 : -1.0;
    out.push_back({d.X, d.Y, 2.0 * floorZ - d.Z, d.Axis, sign * d.Moment});
  }
  return out;
}

FieldVector ElectricFieldAt(const std::vector<PointDipole>& dipoles, double x, double y, double z,
                            double k0) {
  return SummedField(ArrangeDipoles(dipoles), x, y, z, k0);
}

const char* SiteKindName(SiteKind kind) { return kind == SiteKind::Free ? "free" : "sac"; }

const char* PolarisationName(Polarisation polarisation) {
  switch (polarisation) {
    case Polarisation::Horizontal:
      return "horizontal";
    case Polarisation::Vertical:
      return "vertical";
    case Polarisation::Total:
      break;
  }
  return "total";
}

void ValidateSiteSettings(const SiteSettings& s) {
  Require(Within(s.DistanceM, 0.0, 1000.0) && s.DistanceM > 0.0,
          "Error: The test distance must be a positive number of metres, at most 1000");
  Require(std::isfinite(s.BoardCentreX) && std::isfinite(s.BoardCentreY),
          "Error: The board centre must be a finite position");
  if (s.Kind == SiteKind::Free) {
    Require(Within(s.ThetaStepDeg, 0.1, 90.0),
            "Error: The theta step of the scan must be between 0.1 and 90 degrees");
    Require(Within(s.PhiStepDeg, 0.1, 180.0),
            "Error: The phi step of the scan must be between 0.1 and 180 degrees");
    return;
  }
  Require(Within(s.EutHeightM, 0.0, 10.0) && s.EutHeightM > 0.0,
          "Error: The height of the board above the floor must be a positive number of "
          "metres, at most 10");
  Require(Within(s.MinHeightM, 0.0, 20.0),
          "Error: The lowest antenna height must be between 0 and 20 metres");
  Require(Within(s.MaxHeightM, 0.0, 20.0),
          "Error: The highest antenna height must be between 0 and 20 metres");
  Require(s.MinHeightM < s.MaxHeightM,
          "Error: The lowest antenna height must be below the highest antenna height");
  Require(Within(s.HeightStepM, 0.001, 20.0),
          "Error: The antenna height step must be between 0.001 and 20 metres");
  Require(Within(s.TurntableStepDeg, 0.1, 180.0),
          "Error: The turntable step must be between 0.1 and 180 degrees");
}

SitePoint SitePosition(const SiteSettings& settings, const SiteMaximum& where) {
  const double phi = where.PhiDeg * DegToRad;
  const double d = settings.DistanceM;
  if (settings.Kind == SiteKind::Free) {
    const double theta = where.ThetaDeg * DegToRad;
    return {settings.BoardCentreX + d * std::sin(theta) * std::cos(phi),
            settings.BoardCentreY + d * std::sin(theta) * std::sin(phi), d * std::cos(theta)};
  }
  return {settings.BoardCentreX + d * std::cos(phi), settings.BoardCentreY + d * std::sin(phi),
          where.HeightM - settings.EutHeightM};
}

double ReadComponent(const FieldVector& e, Polarisation polarisation, double phiDeg) {
  switch (polarisation) {
    case Polarisation::Horizontal: {
      const double phi = phiDeg * DegToRad;
      return std::abs(-std::sin(phi) * e.Ex + std::cos(phi) * e.Ey);
    }
    case Polarisation::Vertical:
      return std::abs(e.Ez);
    case Polarisation::Total:
      break;
  }
  return std::sqrt(std::norm(e.Ex) + std::norm(e.Ey) + std::norm(e.Ez));
}

double ReadingAt(const std::vector<PointDipole>& board, double k0, const SiteSettings& settings,
                 const SiteMaximum& where) {
  if (!(k0 > 0.0) || !std::isfinite(k0))
    throw std::invalid_argument("The wavenumber of a site reading must be positive");
  const SitePoint p = SitePosition(settings, where);
  const FieldVector e =
      settings.Kind == SiteKind::SemiAnechoic
          ? ElectricFieldAt(WithFloorImages(board, -settings.EutHeightM), p.X, p.Y, p.Z, k0)
          : ElectricFieldAt(board, p.X, p.Y, p.Z, k0);
  return ReadComponent(e, where.Pol, where.PhiDeg);
}

double FieldDbuvM(double peakFieldVm) {
  return 20.0 * std::log10(peakFieldVm / std::numbers::sqrt2 / 1e-6);
}

}  // namespace lumetra::emission
