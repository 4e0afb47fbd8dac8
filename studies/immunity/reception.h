// What a port of the layout receives from a plane wave, found by reciprocity.
//
// The system Z J = V has current densities J as unknowns and, in every row, the
// voltage impressed along the testing element (V). Scaling each column by the
// element's width w turns it into the impedance matrix of the element currents
// I = w J, which the Galerkin fill makes symmetric: Z_I = Z W^-1 = Z_I^T. Then the
// current the plane wave drives through port p, I_p = w_p (Z^-1 V_inc)_p, equals
// sum_n w_n J_n^(p) V_inc,n, where J^(p) is the solution with the port's element
// driven by a 1 V series source and V_inc is the wave's right-hand side. One
// solve per port therefore gives the received current for every direction and
// polarisation: a dot product with the wave's right-hand side, which is the
// transmit pattern of the port read in the receiving sense.
//
// The loads stay in the matrix in both solves, so I_p is the current through the
// port's element with its load (and every other load) in place:
//   voltage across the load           V_L  = Z_L I_p
//   input admittance seen at the port Y    = I_in (the driven current at 1 V)
//   open-circuit voltage              V_oc = I_p / Y   (Thevenin source)
//   Thevenin impedance                Z_th = 1 / Y - Z_L.
// A voltage source taken as a port is shorted (Z_L = 0); what it receives is
// given as its open-circuit voltage, the level a receiver of high impedance in its
// place would see.
#pragma once

#include <cstddef>
#include <vector>

#include "fields/incident_field.h"
#include "studies/linear_system.h"
#include "studies/multi_excitation.h"

namespace lumetra::immunity {

// One port of the system: a current element with its lumped load (zero for a
// source port).
struct PortElement {
  bool IsJx = true;
  int ElementNo = 0;          // 1-based among the Jx (or Jy) elements
  bool IsSource = false;      // a shorted voltage source: report the open-circuit voltage
  std::size_t SourceIndex = 0;  // the voltage source of the input's project that drives it
};

struct PortReception {
  std::vector<Complex> Weights;  // w_n J_n^(p) over the unknowns, x rows then y rows (A per V)
  Complex DrivenCurrent;         // current into the port at 1 V, A (the loaded input admittance)
  Complex LoadImpedance;         // ohm; zero for a source port
  bool IsSource = false;
};

// The right-hand side of the plane wave (1 V/m) in the system's row order: the Jx
// rows (with the ground points after them in a Jx-only layout), then the Jy rows
// (with the ground points after them otherwise). The same values the incident-field
// excitation of a computation puts into the system.
std::vector<Complex> IncidentRightHandSide(SystemLayout layout, const AssemblyInput& input,
                                           const PlaneWave& wave);

// The weights of one solution (the visitor's currents): each unknown times its width.
std::vector<Complex> WeightedSolution(SystemLayout layout, const ElementLists& lists,
                                      const SolvedCurrents& currents);

// The impedance of the loads on a port's element at the input's frequency (ohm;
// zero without a load or when the plan leaves the loads out).
Complex PortLoadImpedance(const AssemblyInput& input, const PortElement& port);

// Current through the port's element under the wave whose right-hand side is rhs.
Complex ReceivedCurrent(const PortReception& port, const std::vector<Complex>& rhs);

// The voltage a port reports for that received current: across its load, or open
// circuit for a source port (V per V/m of the wave).
Complex PortVoltage(const PortReception& port, Complex receivedCurrent);

// The open-circuit voltage behind the port (V per V/m).
Complex OpenCircuitVoltage(const PortReception& port, Complex receivedCurrent);

// Fills and factorises the system once and solves it once per port, each port
// driven alone by 1 V on its SourceIndex while every other source is at 0 V
// (shorted). Same contract as SolveForExcitations; receptions is left empty on
// abort or failure.
bool SolvePortReceptions(SystemLayout layout, AssemblyInput& input,
                         const std::vector<PortElement>& ports,
                         ComputationControl& control, MultiExcitationResult& solved,
                         std::vector<PortReception>& receptions);

}  // namespace lumetra::immunity
