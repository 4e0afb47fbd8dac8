// Nets of a KiCad board turned into a project of this program: the copper of the
// chosen nets on one layer as segments on a snap grid, the board size from the
// outline, the ground plane from the stackup, and optionally a driver and
// receivers at named pads.
//
// The snap grid: the most common track width of the chosen nets divided by the
// cells wanted across a track, rounded to a whole number of 1/1024 mm (so that all
// coordinates are exact binary numbers, see strip_layout.h); without tracks, the
// smallest pad side. It is halved, down to 1/1024 mm, while two chosen nets would
// touch on it, and up to three times while a net's length on the grid differs from
// KiCad's by more than 1 % (short tracks on a coarse grid). A grid given by the
// user is used as given (rounded to 1/1024 mm).
//
// The charge density: along a piece of trace no cell is longer than the wavelength
// in the substrate at the highest frequency, c0 / (f sqrt(epsilon_r)), divided by
// cellsPerWavelength; where pieces meet, one cell per grid step.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "import/kicad_board.h"
#include "model/project.h"

namespace lumetra {

// The input or the options do not allow an import (unknown net or layer, copper
// outside the board, ...); nothing is produced.
class KicadImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The solver's default limit on Jx (and on Jy) unknowns, each plus the ground
// points; the options may lift it as the computation's setting does.
inline constexpr int MaxUnknownsPerDirection = 2000;
// Finest grid the import uses, mm.
inline constexpr double GridQuantumMm = 1.0 / 1024.0;
// Largest raster of grid cells the import draws the nets into.
inline constexpr long long MaxRasterCells = 40'000'000;

// A pad named REF.PAD with its termination values.
struct PadTermination {
  std::string reference;  // U3
  std::string pad;        // 7
  double first = 0.0;     // driver: volts; receiver: ohms
  std::optional<double> capacitancePf;  // receiver only
};

// Parses REF.PAD[:VOLTS] (driver) or REF.PAD[:R[:C_PF]] (receiver); throws
// KicadImportError for a malformed text.
PadTermination ParseDriver(const std::string& text);
PadTermination ParseReceiver(const std::string& text);
inline constexpr double DefaultDriverVolts = 1.0;
inline constexpr double DefaultReceiverOhms = 50.0;

struct KicadImportOptions {
  std::vector<std::string> nets;
  std::string layer = "F.Cu";
  std::optional<double> gridMm;
  int cellsAcross = 1;
  double maxFrequencyMHz = 1000.0;
  double cellsPerWavelength = 20.0;
  std::optional<double> groundPlaneMm;  // overrides the stackup
  std::optional<double> dielectric;     // overrides the stackup
  std::optional<PadTermination> driver;
  std::vector<PadTermination> receivers;
  int maxUnknownsPerDirection = MaxUnknownsPerDirection;  // the computation's limit
};

struct NetImport {
  std::string name;
  int tracks = 0;       // straight tracks and arcs of the net on the layer
  int arcs = 0;
  int pads = 0;
  int vias = 0;
  double kicadLengthMm = 0.0;   // sum of the track lengths, arcs along the arc
  double layoutLengthMm = 0.0;  // the same measured along the imported copper
  int segments = 0;
  int pieces = 0;               // separate copper pieces in the layout
};

struct KicadImportReport {
  std::string boardFile;
  std::string layer;
  double gridMm = 0.0;
  std::string gridRule;  // how the grid was chosen
  double maxCellMm = 0.0;
  int cellsAcross = 1;
  std::vector<NetImport> nets;
  int segments = 0;
  long long charges = 0;
  int jx = 0, jy = 0;    // in-segment plus connecting elements
  int groundPoints = 0;
  int unknowns = 0;      // jx + jy + groundPoints, as the computation counts them
  std::string environment;  // one line on the ground plane and substrate
  std::vector<std::string> warnings;
};

struct KicadImport {
  Project project;  // ProjectFile empty: the caller names it
  KicadImportReport report;
};

KicadImport ImportKicadNets(const KicadBoard& board, const KicadImportOptions& options,
                            const std::string& boardFile = "");

// The permittivity the import puts between the layer and its ground plane: the
// user's, else the stackup's; 1 when the layer has no plane (free space).
double ImportPermittivity(const KicadBoard& board, const KicadImportOptions& options);

// The wavelength in the substrate at the highest frequency, c0 / (f sqrt(epsilon_r)),
// mm; a charge cell is at most this over options.cellsPerWavelength long.
double CellWavelengthMm(const KicadBoard& board, const KicadImportOptions& options);

}  // namespace lumetra
