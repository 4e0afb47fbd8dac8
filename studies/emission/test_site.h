// Where a receiving antenna sees the board's field, and the largest reading it
// takes there.
//
// The radiators are the solved current elements and ground points as short
// current elements (Hertzian dipoles) with their images in the board's ground
// plane, radiating in air: the exact field of each, with its 1/r, 1/r^2 and 1/r^3
// terms, so that 30 MHz at 3 m (kr = 1.9) is as right as 1 GHz at 10 m.
//
// Board frame: x, y in the board plane (m), z up, the traces at z = 0; the board's
// centre is the turntable's axis and the centre of the free-site sphere.
//
// Two test sites:
// - Free: a sphere of radius d about the board's centre; the reading is the
//   magnitude of the whole E vector, maximised over all directions (theta from +z,
//   phi from +x), only the upper hemisphere when the board has a ground plane.
// - SemiAnechoic: the open-area test site or semi-anechoic chamber of CISPR 16 and
//   ANSI C63.4. The board lies horizontally EutHeightM above a perfectly
//   conducting floor (every radiator gets its image in the floor: horizontal
//   moments reversed, vertical ones kept). The antenna stands at horizontal
//   distance d from the turntable axis, scanned in height from MinHeightM to
//   MaxHeightM; the turntable turns the board through 360 degrees (phi is the
//   direction of the antenna seen in the board's frame). A horizontally polarised
//   antenna reads the horizontal E component across the line of sight, a
//   vertically polarised one the vertical component Ez.
// The scan visits a coarse grid and then climbs from the best points with halving
// steps, so that a narrow lobe between grid points is not missed. Where the lobes
// are closer than the steps asked for (high frequencies, large boards, the
// height lobes of the floor reflection about lambda d / (2 EutHeightM) apart), the
// grid takes half the lobe spacing instead, down to 2 degrees and 2 cm.
#pragma once

#include <complex>
#include <vector>

#include "fields/near_field_sources.h"

namespace lumetra::emission {

// One short current element with its images already expanded: centre (m), axis
// and moment I l (A m).
struct PointDipole {
  double X = 0.0, Y = 0.0, Z = 0.0;
  DipoleAxis Axis = DipoleAxis::X;
  std::complex<double> Moment;
};

// Every dipole of every group, each followed by its ground-plane image (at ImageZ,
// opposite moment) when it has one.
std::vector<PointDipole> FlattenSources(const NearFieldSources& sources);

// The dipoles followed by their images in a perfectly conducting floor at floorZ
// (m): position mirrored, horizontal moment reversed, vertical moment kept.
std::vector<PointDipole> WithFloorImages(const std::vector<PointDipole>& dipoles, double floorZ);

// The E field (V/m, peak phasors) of the dipoles at one point, in air with the
// free-space wavenumber k0 (rad/m) and wave impedance 120 pi.
struct FieldVector {
  std::complex<double> Ex, Ey, Ez;
};
FieldVector ElectricFieldAt(const std::vector<PointDipole>& dipoles, double x, double y, double z,
                            double k0);

enum class SiteKind { Free, SemiAnechoic };
enum class Polarisation { Total, Horizontal, Vertical };

// "free", "sac"; "total", "horizontal", "vertical".
const char* SiteKindName(SiteKind kind);
const char* PolarisationName(Polarisation polarisation);

struct SiteSettings {
  SiteKind Kind = SiteKind::Free;
  double DistanceM = 3.0;            // sphere radius, or antenna to turntable axis
  double BoardCentreX = 0.0;         // m, board frame
  double BoardCentreY = 0.0;
  bool UpperHemisphereOnly = false;  // the board has a ground plane (free site)
  // Coarse grid of the free site (the largest steps; see above).
  double ThetaStepDeg = 10.0;
  double PhiStepDeg = 10.0;
  // Semi-anechoic site.
  double EutHeightM = 0.8;
  double MinHeightM = 1.0, MaxHeightM = 4.0;
  double HeightStepM = 0.25;         // coarse grid; refined below
  double TurntableStepDeg = 15.0;
  bool Refine = true;                // climb from the best grid points
};

// Throws std::invalid_argument with a message naming the value at fault: distance
// finite and positive (at most 1000 m), a finite board centre; for the free site
// theta step 0.1..90 and phi step 0.1..180 degrees; for the semi-anechoic site
// 0 < EutHeightM <= 10, 0 <= MinHeightM < MaxHeightM <= 20, height step
// 0.001..20 m and turntable step 0.1..180 degrees. Only the values the site uses
// are checked.
void ValidateSiteSettings(const SiteSettings& settings);

// Where the largest reading occurs and what it is.
struct SiteMaximum {
  double FieldVm = 0.0;     // magnitude of the read component (peak phasor), V/m
  double ThetaDeg = 0.0;    // free: direction; sac: angle of the antenna from +z seen from the board centre
  double PhiDeg = 0.0;      // direction (free) or turntable angle (sac)
  double HeightM = 0.0;     // antenna height above the floor (sac only)
  Polarisation Pol = Polarisation::Total;
};

// The field point of a reading in the board frame (m).
struct SitePoint {
  double X = 0.0, Y = 0.0, Z = 0.0;
};
SitePoint SitePosition(const SiteSettings& settings, const SiteMaximum& where);

// The reading of one polarisation from the field at an antenna in direction phiDeg
// (seen from the board centre): |E| for Total, |E . (-sin phi, cos phi, 0)| for
// Horizontal, |Ez| for Vertical.
double ReadComponent(const FieldVector& field, Polarisation polarisation, double phiDeg);

// The reading at one place (FieldVm of where is ignored): |E| for Total, the
// horizontal component across the line of sight, or |Ez|. board holds the radiators
// without floor images; the semi-anechoic site adds them itself.
double ReadingAt(const std::vector<PointDipole>& board, double k0, const SiteSettings& settings,
                 const SiteMaximum& where);

// The largest reading over the site's scan. Uses every core for the grid and the
// climbs. Validates settings (as ValidateSiteSettings) and refuses a wavenumber that
// is not positive with std::invalid_argument.
SiteMaximum ScanSite(const std::vector<PointDipole>& board, double k0,
                     const SiteSettings& settings);

// 20 log10(|E| / sqrt(2) / 1 uV/m): a CISPR 16 receiver reads a CW harmonic of
// peak amplitude |E| as its RMS value.
double FieldDbuvM(double peakFieldVm);

}  // namespace lumetra::emission
