// One frequency point solved for several excitations of the voltage sources: the
// system is filled and factorised once, then each excitation costs one forward and
// one back substitution. The network study drives each port alone this way; any
// study that needs the response to several source settings at one frequency can.
//
// Nothing is written to the result files: the caller reads the port currents, or
// every current through the visitor.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "studies/system_assembly.h"

namespace lumetra {

// The voltage of every source of the project for one excitation (V, list order;
// sources beyond the vector's end stay at 0 V, which shorts them).
using SourceDrive = std::vector<Complex>;

struct ExcitationReading {
  std::vector<SourceReading> Sources;  // each source's voltage and current
  double InputPower = 0.0;             // W
};

struct MultiExcitationResult {
  FrequencyPointResult Point;          // frequency, unknowns, times, EpsEff, MaxKr
  std::vector<ExcitationReading> Excitations;  // one per drive, in order
};

// The solved surface current densities of one excitation (A/m), in the solver's
// order: NX Jx values (or null), NY Jy values (or null), NG ground-point values
// (or null). Valid during the call only.
struct SolvedCurrents {
  const Complex* Jx = nullptr;
  const Complex* Jy = nullptr;
  const Complex* Ground = nullptr;
};
using SolutionVisitor = std::function<void(std::size_t excitation, const SolvedCurrents&)>;

// Fills and factorises the layout's system once and solves it for every drive.
// The plan's excitation kind is ignored: the sources are driven as given, with
// loads and resistivity as the plan says. Same contract as SolveFrequencyPoint:
// false when the matrices could not be created; a failed solve shows
// LuFailedMessage and sets control.AbortRequested, as does an abort.
bool SolveForExcitations(SystemLayout layout, AssemblyInput& input,
                         const std::vector<SourceDrive>& drives, ComputationControl& control,
                         MultiExcitationResult& result, const SolutionVisitor& visit = {});

}  // namespace lumetra
