// The in-memory project: board, snap grid, the environment stored with the project,
// and the four lists of segments, voltage sources, impedance loads and ground points.
//
// All lengths are millimetres with the origin at the lower-left board corner, x to
// the right and y upwards. Element numbers are 1-based and derived from the order of
// the segment list (see discretisation.h); they are never stored per segment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

// One rectangular trace piece, divided into ChX x ChY equal charge cells.
struct Segment {
  double Xc = 0.0;  // centre x, mm
  double Yc = 0.0;  // centre y, mm
  double Lx = 0.0;  // length along x, mm, > 0
  double Ly = 0.0;  // length along y, mm, > 0
  std::int32_t ChX = 1;  // charge cells along x, >= 1
  std::int32_t ChY = 1;  // charge cells along y, >= 1
};

// A voltage source in series with one in-segment current element.
struct VoltageSource {
  double X = 0.0, Y = 0.0;    // centre of the current element, mm
  double Dx = 0.0, Dy = 0.0;  // cell size of its segment, mm
  double ReV = 0.0;           // real part of the source voltage, V
  double ImV = 0.0;           // imaginary part, V
  bool IsJx = true;           // on a Jx element (else a Jy element)
  std::int32_t ElementNo = 0; // 1-based among the in-segment Jx (or Jy) elements
};

// A lumped load in series with one in-segment current element. LC >= 0 is an
// inductance in henry (Z = R + jwL); LC < 0 a capacitance of |LC| farad
// (Z = R - j/(wC)). LC = 0 is a pure resistance.
struct ImpedanceElement {
  double X = 0.0, Y = 0.0;
  double Dx = 0.0, Dy = 0.0;
  double R = 0.0;   // ohm
  double LC = 0.0;  // henry, or minus farad
  bool IsJx = true;
  std::int32_t ElementNo = 0;
};

// Edge of a charge cell on which a ground point sits.
enum GroundPointEdge : std::int32_t { EdgeLeft = 1, EdgeRight = 2, EdgeBottom = 3, EdgeTop = 4 };

// A vertical current from the trace down to the ground plane at the midpoint of
// one edge of a charge cell.
struct GroundPoint {
  std::int32_t ChargeNo = 0;  // 1-based charge element number
  std::int32_t Edge = EdgeLeft;
  double Size = 0.0;          // min(dx, dy) / 3 of that cell, mm
  double X = 0.0, Y = 0.0;    // midpoint of the edge, mm
};

// Environment values that live in main-window controls and are stored in the .PRO.
// The texts are kept as typed; the computation validates them.
struct Environment {
  bool GroundPlane = false;
  std::string GPHeight = "2";        // distance of the ground plane below the layout, mm
  bool FiniteConductivity = false;
  std::string Conductivity = "0";    // resistivity of every segment, ohm
  std::string DielConst = "1";       // relative permittivity between layout and plane
  friend bool operator==(const Environment&, const Environment&) = default;
};

struct Project {
  std::int32_t PcbLx = 0;  // board length in x, whole mm
  std::int32_t PcbLy = 0;  // board length in y, whole mm
  double GridSize = 2.0;   // snap-grid pitch, mm
  std::int32_t ChargesPerGridX = 1;
  std::int32_t ChargesPerGridY = 1;
  bool ShowGridPoints = true;
  std::string ProjectFile;  // full path of the .PRO; empty while no project is open
  bool Saved = true;
  bool Connected = false;
  Environment Env;

  std::vector<Segment> Segments;
  std::vector<VoltageSource> VoltageSources;
  std::vector<ImpedanceElement> Impedances;
  std::vector<GroundPoint> GroundPoints;

  bool IsOpen() const { return !ProjectFile.empty(); }
};

// Snap-grid pitch of a new board: 2 % of its longer side, rounded half to even
// to whole millimetres, at least 1 mm.
double NewProjectGridSize(std::int32_t pcbLx, std::int32_t pcbLy);

// Resets the model to an empty new board (lists emptied, Saved, not Connected).
// The environment controls keep their texts.
void ResetToNewProject(Project& project, const std::string& projectFile,
                       std::int32_t pcbLx, std::int32_t pcbLy);

// Total number of charge cells of the layout (sum of ChX * ChY).
std::int64_t TotalChargeCount(const std::vector<Segment>& segments);

}  // namespace lumetra
