// The copy of a project an emission run computes, and one solve of it.
//
// The copy lives in a private folder, so the user's project and result files are
// never touched. Every solve is one single-frequency computation through the
// same driver as Compute, with far field, questions and sounds off; its messages
// reach the user once each however many solves show them.
#pragma once

#include <complex>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/once_only_ui.h"
#include "model/private_directory.h"
#include "model/project.h"
#include "solver/computation_control.h"
#include "studies/computation_driver.h"
#include "studies/emission/test_site.h"

namespace lumetra::emission {

struct SolvedPoint {
  // Board frame, ground-plane images expanded, and over a substrate its bound
  // polarisation (SubstratePolarisationDipoles) after the elements.
  std::vector<PointDipole> Radiators;
  FrequencyPointResult Point;          // port currents, input power
};

class EmissionWorkspace {
public:
  // Throws FileError when the copy cannot be written.
  EmissionWorkspace(const Project& project, const ComputationSettings& solver,
                    ComputationControl& control);

  // Solves the layout at one frequency with the sources driven by drives (V, peak
  // phasors, one per source); none when the run stopped (aborted, refused or
  // failed: the message was shown, and an abort is passed on to the caller's
  // control).
  std::optional<SolvedPoint> Solve(double frequencyMHz,
                                   const std::vector<std::complex<double>>& drives);

  // How large a solve is before any is run, from the copy's element files: its
  // unknowns and the memory it holds at its peak (both 0 when they cannot be read).
  struct SolveSize {
    std::int32_t Unknowns = 0;
    std::int64_t Bytes = 0;
  };
  SolveSize Size() const;

  // Where the solves' messages go: each distinct one once.
  UserInterface& Ui() { return ui_; }

private:
  PrivateDirectory directory_;
  Project copy_;
  OnceOnlyUi ui_;
  ComputationControl control_;
  ComputationControl& outer_;
  ComputationSettings settings_;
  RunEnvironment environment_;
  double groundPlaneM_ = 0.0;
  double substrateEpsR_ = 1.0;  // between the layout and the ground plane
};

}  // namespace lumetra::emission
