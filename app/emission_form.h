// What the Emission window holds, as typed, and the run request made from it.
//
// The window keeps texts; turning them into numbers, reading the spectrum and
// limit files and choosing the limit table happens here, without widgets, so the
// messages a user sees can be checked exactly.
#pragma once

// Qt's keyword macro "signals" would rewrite a parameter of that name in the
// core's headers; it is set aside while they are read.
#pragma push_macro("signals")
#undef signals
#include "studies/emission/emission_run.h"
#pragma pop_macro("signals")

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

// The limit names the window and lumetra-cli offer; "none" and "file" besides.
inline constexpr const char* EmissionLimitChoices[] = {"cispr32-a", "cispr32-b", "fcc15-a", "fcc15-b"};

struct EmissionForm {
  std::vector<SignalForm> Signals;  // one per voltage source, in source order
  bool SemiAnechoic = true;
  std::string Distance = "3";       // m
  std::string Limit = "cispr32-b";  // a name of EmissionLimitChoices, "none" or "file"
  std::string LimitFile;            // with "file"
  std::string Stop = "1000";        // MHz
};

// The shipped limit table a name stands for at a measuring distance: the 10 m
// table of CISPR 32 from about 5.5 m on (geometrically nearer 10 m than 3 m), the
// 3 m table below; FCC class A is given at 10 m and class B at 3 m only. The run
// converts the table's values to the distance. Throws std::invalid_argument for a
// name that is none of EmissionLimitChoices.
std::string ShippedLimitTable(const std::string& name, double distanceM);

// The request the window runs: numbers parsed (a text that is no number gives
// "Error: \"abc\" is not a number (source 1, rise time in ns)"), spectrum and
// limit files read (FileError naming the file and the line), a shipped limit
// found. The solver settings are those of the Computation page. The values
// themselves are checked by ValidateEmissionRequest.
emission::EmissionRequest BuildEmissionRequest(const Project& project, const EmissionForm& form,
                                               const ComputationSettings& solver);

}  // namespace lumetra::gui
