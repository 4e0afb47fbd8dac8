// The near field on a grid of points around the board ("Near-field parameters"
// dialog): for every frequency of the last run, the complex E and H vectors of
// all current elements and ground points, each a Hertzian dipole (with its image
// when the project has a ground plane), into the project's .NFE and .NFH.
//
// It works from the result files and the .PRO alone. The current files are read
// once per run and each frequency's sources are kept in memory while its grid is
// computed; the files written are the same as if the currents were fetched anew
// for every point.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "fields/near_field_sources.h"
#include "model/user_interface.h"

namespace lumetra {

inline constexpr const char* NearFieldDialogCaption = "Near-field parameters";
inline constexpr const char* TooCloseWarning =
    "Warning: Distance between field point and structure too small.\r\r"
    "Result might not be reliable!";
// A grid this large would take days and fill the disk; refused before anything
// is written.
inline constexpr std::int64_t MaxNearFieldPoints = 10'000'000;
inline constexpr const char* TooManyPointsMessage =
    "Error: The near-field grid has more than 10000000 points, choose larger steps!";

// The nine edit fields of the dialog as typed (mm), with their defaults.
struct NearFieldGridTexts {
  std::string XStart = "0", XStop = "0", XStep = "10";
  std::string YStart = "0", YStop = "0", YStep = "10";
  std::string ZStart = "0", ZStop = "0", ZStep = "10";
};

enum class NearFieldEntry { XStart, XStop, XStep, YStart, YStop, YStep, ZStart, ZStop, ZStep };

// The grid in millimetres as the fields hold it.
struct NearFieldGrid {
  double XStart = 0, XStop = 0, XStep = 10;
  double YStart = 0, YStop = 0, YStep = 10;
  double ZStart = 0, ZStop = 0, ZStep = 10;
};

// Range-checks the nine fields in dialog order; the first refused field shows its
// message and ends the checks (failed names it, for the focus). With a ground
// plane (heightMm > 1e-12) the grid may not reach down to it. On success grid
// holds the values.
bool CheckNearFieldGrid(const NearFieldGridTexts& texts, double groundPlaneHeightMm,
                        UserInterface& ui, NearFieldGrid& grid,
                        std::optional<NearFieldEntry>& failed);

// Number of grid points (the line count of a block). Each axis runs in metres from
// its start while not above its stop by repeated addition of its step, and has at
// least the start itself. A grid of more than MaxNearFieldPoints points (or a step
// too small to move the sum) gives MaxNearFieldPoints + 1.
std::int64_t CountNearFieldPoints(const NearFieldGrid& grid);

// "Wait! Computing Near-field at <f> MHz", the caption while a frequency is computed.
std::string ComputingNearFieldCaption(double frequencyMHz);

// The wavenumber (rad/m) in a medium of permittivity epsEff (F/m).
double NearFieldWavenumber(double frequencyMHz, double epsEff);

// The permittivity the currents of the project's last run were computed with when
// no computation has run since the program started: the mean eps0 (1 + eps_r) / 2
// of air and the substrate (eps_r from line 15 of the .PRO when it has a ground
// plane, else 1), as a rigorous or a free-space computation uses it.
double ProjectEffectivePermittivity(const std::filesystem::path& projectFile);

// One frequency: one block to each of .NFE and .NFH (truncating them when first is
// true, else appending). sources are that frequency's dipoles, k the wavenumber.
// The UserInterface is polled after each source group of every point; when abort
// is asked both files are cut back to where they stood before the block and false
// is returned. Sets tooClose when a point lies too near a source. A grid of more
// than MaxNearFieldPoints points is std::invalid_argument (RunNearField refuses it
// with a message first).
bool ComputeNearField(const std::filesystem::path& projectFile, const NearFieldGrid& grid,
                      double frequencyMHz, double k, const NearFieldSources& sources, bool first,
                      bool& tooClose, UserInterface& ui);

// The field of all sources at one point (m), group by group in summation order;
// false when the abort poll after a group answered true.
bool NearFieldAtPoint(const NearFieldSources& sources, double x, double y, double z, double k,
                      FieldSample& sample, bool& tooClose, UserInterface& ui,
                      double etaOverFourPi = FreeSpaceEtaOverFourPi);

// The data lines of one point: x, y, z (mm) and the three complex components, as
// R23 fields.
std::string NearFieldLine(double xMm, double yMm, double zMm, Complex a, Complex b, Complex c);

enum class NearFieldRunOutcome {
  Completed,  // .NFE and .NFH hold every frequency; the dialog closes
  Refused,    // a message was shown; the dialog stays open
  Aborted,    // the user stopped it; the files hold the frequencies finished before
};

struct NearFieldRunResult {
  NearFieldRunOutcome Outcome = NearFieldRunOutcome::Refused;
  std::optional<NearFieldEntry> FocusField;  // the refused field, if one was
  int Frequencies = 0;                       // blocks written completely
  std::int64_t Points = 0;                   // grid points per block
  bool TooClose = false;                     // the final warning was shown
};

// What "Compute" does, holding the project's lock (ProjectLock) while it runs: a
// project another run is computing is refused with ProjectBusyMessage. An
// incomplete tail an interrupted run left in a current file is shown as a warning
// and the frequencies before it are computed; a write error names the frequencies
// the files keep. epsEff (F/m) is the permittivity of the last computation
// since the program started; without one, ProjectEffectivePermittivity stands in.
// Messages go to ui; setCaption (may be empty) receives the progress caption before
// each frequency (the dialog puts NearFieldDialogCaption back when this returns).
// Damaged or unreadable files throw FileError.
NearFieldRunResult RunNearField(const std::filesystem::path& projectFile,
                                const NearFieldGridTexts& texts, std::optional<double> epsEff,
                                UserInterface& ui,
                                const std::function<void(std::string_view)>& setCaption = {});

}  // namespace lumetra
