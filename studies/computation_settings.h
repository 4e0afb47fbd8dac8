// What the Computation page holds when Compute is pressed: the texts of its fields
// as typed and the state of its switches, plus the environment stored with the
// project (ground plane, substrate, resistivity).
#pragma once

#include <string>
#include <vector>

#include "solver/complex_storage.h"
#include "solver/solver_settings.h"

namespace lumetra {

class PointExchange;

struct ComputationSettings {
  // Frequencies, MHz.
  bool SweepFreq = false;             // else a single frequency
  std::string Frequency = "300";
  std::string StartFreq = "100", StopFreq = "1000", StepFreq = "10";
  bool LogSweep = false;              // StepFreq is a factor
  bool FreqListCB = false;            // frequencies from FrequencyList instead
  std::vector<std::string> FrequencyList;

  // Excitation: voltage sources, or a plane wave from (IncTheta, IncPhi) with
  // polarisation angle IncPol, degrees.
  bool IncField = false;
  std::string IncTheta = "0", IncPhi = "0", IncPol = "0";

  bool ImpFile = true;                // use the impedance loads

  bool FarField = false;
  std::string ThetaStart = "0", ThetaStop = "90", ThetaStep = "2";
  std::string PhiStart = "0", PhiStop = "360", PhiStep = "18";

  bool RigSol = true;                 // rigorous substrate model (else effective permittivity)

  // The model's accuracy, stored with the project.
  SolverAccuracy Accuracy = SolverAccuracy::Standard;

  // The substrate dialogs of the program (not stored with the project): the
  // spectral integration of the rigorous model and the effective-permittivity model.
  IntegrationSettings Integration;
  EffectivePermittivitySettings EffectivePermittivity;

  // The user's "Maximum number of unknowns" (stored per user, never with the
  // project): the most unknowns of one direction (ground points included) and of a
  // coupled system. Values below the default are taken as the default.
  std::int32_t MaxUnknowns = DefaultMaxUnknowns;

  // Options of the menu.
  bool CompSound = true;
  bool ShowCompTime = true;
  bool ShowTimeEstimate = false;

  // Frequency points of a sweep solved at once (lumetra-cli --jobs); 0 lets the run
  // choose from the size of the system (SweepJobs). The results are the same.
  int Jobs = 0;
  // The processes that share the sweep's points (lumetra-mpi); none: this one alone.
  PointExchange* Exchange = nullptr;
};

}  // namespace lumetra
