// Recomputing the far field afterwards from the current files ("Far-field
// parameters" dialog): for every frequency of the last run, the pattern of the
// written currents in free space (with the project's ground plane, if any), into
// the project's .RAD.
//
// It works from the result files and the .PRO alone. The currents were solved in
// the computation's medium, but the pattern is taken with the free-space
// wavenumber and impedance, so a run with an effective permittivity yields the
// pattern of those currents radiating in air.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "fields/far_field.h"
#include "model/user_interface.h"

namespace lumetra {

inline constexpr const char* NoCurrentFilesText =
    "There exist no current files, computation cannot be performed!";
inline constexpr const char* FarFieldDialogCaption = "Far-field parameters";

// The six edit fields of the dialog as typed, with their defaults.
struct FarFieldAngleTexts {
  std::string ThetaStart = "0", ThetaStop = "90", ThetaStep = "2";
  std::string PhiStart = "0", PhiStop = "360", PhiStep = "18";
};

enum class FarFieldAngle { ThetaStart, ThetaStop, ThetaStep, PhiStart, PhiStop, PhiStep };

// Range-checks the six fields in dialog order; the first refused field shows its
// message and ends the checks (failed names it, for the focus). A ground plane
// keeps theta within the upper half space. On success grid holds the values.
bool CheckFarFieldAngles(const FarFieldAngleTexts& texts, bool groundPlane, UserInterface& ui,
                         FarFieldGrid& grid, std::optional<FarFieldAngle>& failed);

// "Wait! Computing far-field at <f> MHz", the caption while a frequency is computed.
std::string ComputingFarFieldCaption(double frequencyMHz);

// The ground-plane height (mm) on line 7 of the .PRO, which holds 0 for a project
// without a ground plane; a value above 0 means there is one.
// Throws FileError when the file is unreadable or the line is not a number.
double ReadGroundPlaneHeightMm(const std::filesystem::path& projectFile);

enum class FarFieldRunOutcome {
  Completed,  // .RAD holds every frequency; the dialog closes
  Refused,    // a message was shown; the dialog stays open
  Aborted,    // the user stopped it; .RAD holds the frequencies finished before
};

struct FarFieldRunResult {
  FarFieldRunOutcome Outcome = FarFieldRunOutcome::Refused;
  std::optional<FarFieldAngle> FocusField;  // the refused field, if one was
  int Frequencies = 0;                      // blocks written completely
};

// The recomputation behind "Compute". It holds the project's lock (ProjectLock)
// while it runs; a project another run is computing is refused with
// ProjectBusyMessage. An incomplete tail an interrupted run left in a current file
// is shown as a warning and the frequencies before it are computed. A write error
// names the frequencies .RAD keeps. Messages go to ui; setCaption (may be empty)
// receives the progress caption before each frequency; the dialog's own abort
// button is polled through ui.PumpEventsAndCheckAbort() after every element.
// Damaged or unreadable files throw FileError.
FarFieldRunResult RecomputeFarField(const std::filesystem::path& projectFile,
                                    const FarFieldAngleTexts& texts, UserInterface& ui,
                                    const std::function<void(std::string_view)>& setCaption = {});

}  // namespace lumetra
