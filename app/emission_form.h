// What the Emission window holds, as typed, and the run request made from it.
//
// The window keeps texts; turning them into numbers, reading the spectrum and
// limit files and choosing the limit table happens here, without widgets, so the
// messages a user sees can be checked exactly.
#pragma once

#include "studies/emission/emission_run.h"

#include <string>
#include <vector>

#include "model/project.h"
#include "studies/computation_settings.h"

namespace lumetra::gui {

enum class SignalKind { Constant, Trapezoid, SpectrumFile };

// One voltage source's signal as typed; Fall may be left empty (= rise).
struct SignalForm {
  SignalKind Kind = SignalKind::Trapezoid;
  std::string Amplitude = "3.3";    // V
  std::string Fundamental = "25";   // MHz
  std::string Rise = "1";           // ns
  std::string Fall;                 // ns
  std::string Duty = "0.5";
  std::string File;                 // drive-lines file of a SpectrumFile signal
};

struct EmissionForm {
  std::vector<SignalForm> Signals;  // one per voltage source, in source order
  bool SemiAnechoic = true;
  std::string Distance = "3";       // m
  std::string Limit = "cispr32-b";  // a class of LimitClassNames(), "none" or "file"
  std::string LimitFile;            // with "file"
  std::string Stop = "1000";        // MHz
};

// The request the window runs: numbers parsed (a text that is no number gives
// "Error: \"abc\" is not a number (source 1, rise time in ns)"), spectrum and
// limit files read (FileError naming the file and the line), the limit resolved
// as lumetra-cli resolves --limit (a class's tables joined and moved to the
// distance). The solver settings are those of the Computation page. The values
// themselves are checked by ValidateEmissionRequest.
emission::EmissionRequest BuildEmissionRequest(const Project& project, const EmissionForm& form,
                                               const ComputationSettings& solver);

}  // namespace lumetra::gui
