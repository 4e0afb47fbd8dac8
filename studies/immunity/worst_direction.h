// The direction and polarisation of the plane wave that puts the largest voltage
// on each port, over the upper hemisphere (the full sphere in free space).
//
// A coarse grid of directions is read for every port at once (the wave's right-hand
// side is shared, each port costs one dot product). From the best few grid points
// of each port and polarisation that are not neighbours, a pattern search moves to
// the best of the four neighbouring directions while that raises the voltage and
// halves its step when none does, down to 0.01 degree. The grid takes half the
// lobe spacing lambda / (2 R) of a layout of radius R when that is finer than the
// step asked for (never below 2 degrees), so that every lobe has a grid point near
// its peak.
#pragma once

#include <functional>
#include <vector>

#include "studies/immunity/reception.h"

namespace lumetra::immunity {

enum class Polarisation { Theta, Phi };

// The polarisation angle of the incident-field excitation: theta (0 degrees, in
// the plane of incidence) or phi (90 degrees, parallel to the board).
double PolarisationAngle(Polarisation pol);

struct WorstDirection {
  double ThetaDeg = 0.0, PhiDeg = 0.0;
  Polarisation Pol = Polarisation::Theta;
  Complex Received;     // current through the port's element, A per V/m
  double Voltage = 0.0; // |PortVoltage|, V per V/m
};

struct DirectionScan {
  double ThetaMaxDeg = 90.0;   // 180 in free space; below 90 on a slab
  double StepDeg = 10.0;       // coarse grid asked for
  double LayoutRadius = 0.0;   // m, largest distance of an element from the layout centre
  double Wavelength = 1.0;     // m, in the medium of the wave
};

using RightHandSideOf = std::function<std::vector<Complex>(const PlaneWave&)>;

// The worst direction of every port, in port order.
std::vector<WorstDirection> FindWorstDirections(const std::vector<PortReception>& ports,
                                                const RightHandSideOf& rhsOf,
                                                const DirectionScan& scan);

// The grid step used for a scan (degrees).
double GridStep(const DirectionScan& scan);

}  // namespace lumetra::immunity
