// One project's parameters in a batch computation: what the Computation page held
// for it when the batch window last took them over.
//
// The fields keep the page's texts as typed, not numbers converted from them: a text
// that is no number is then refused by the computation's own checks with their
// usual message when the job runs, instead of failing when the page is captured,
// and a value goes back onto the page exactly as the user left it.
//
// Not part of a job: the relative permittivity and the frequency list choice; they
// stay as opening the project (or the user) set them.
#pragma once

#include <string>

#include "solver/solver_settings.h"

namespace lumetra::gui {

struct BatchJob {
  bool SingleFrequency = true;  // SingFreq, else SweepFreq
  // MHz: Frequency for a single frequency, StartFreq for a sweep.
  std::string Frequency = "300";
  std::string StopFreq = "1000", StepFreq = "10";
  bool LinearSweep = true;      // LogSweep not checked

  bool VoltageSources = true;   // ExcFile, else IncField
  std::string IncTheta = "0", IncPhi = "0", IncPol = "0";  // degrees
  bool ImpedanceLoading = true; // ImpFile, else NoLoad

  bool GroundPlane = false;
  std::string GPHeight = "2";   // mm
  bool FiniteConductivity = false;
  std::string Conductivity = "0";  // ohm

  bool FarField = false;
  std::string ThetaStart = "0", ThetaStop = "90", ThetaStep = "2";  // degrees
  std::string PhiStart = "0", PhiStop = "360", PhiStep = "18";

  bool RigSol = true;           // else "Effective Eps."
  // "Options for effective permittivity": the simple formula or an approximation at
  // every Every-th frequency.
  EffectivePermittivitySettings EffectivePermittivity;
};

}  // namespace lumetra::gui
