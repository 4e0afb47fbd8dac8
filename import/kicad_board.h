// A board file of KiCad (.kicad_pcb, the s-expression format from KiCad 5, format
// 20171130, up to today's) read into plain data: nets, layers, stackup, tracks,
// vias, footprints with their pads, and the board outline on Edge.Cuts.
//
// Coordinates stay as KiCad writes them: millimetres, x to the right, y pointing
// down, angles in degrees counter-clockwise as seen on screen. Turning them into
// this program's y-up layout is a later step.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {

struct KicadPoint {
  double x = 0.0;
  double y = 0.0;
};

struct KicadLayer {
  int ordinal = 0;
  std::string name;  // F.Cu, In1.Cu, B.Cu, Edge.Cuts, ...
  std::string type;  // signal, power, mixed, jumper, user
};

// One layer of the physical stack as the board's setup lists it, top to bottom.
// A dielectric made of several sublayers gives one entry per sublayer.
struct KicadStackupLayer {
  std::string name;  // F.Cu, "dielectric 1", F.Mask, ...
  std::string type;  // copper, core, prepreg, "Top Solder Mask", ...
  std::optional<double> thicknessMm;
  std::optional<double> epsilonR;
  std::optional<double> lossTangent;
  std::string material;
};

// A straight track piece, or a track arc through `mid` when isArc.
struct KicadTrack {
  KicadPoint start;
  KicadPoint end;
  KicadPoint mid;
  bool isArc = false;
  double widthMm = 0.0;
  std::string layer;
  int net = 0;  // 0: no net
};

struct KicadVia {
  KicadPoint at;
  double sizeMm = 0.0;
  std::optional<double> drillMm;  // absent: the board's default via drill
  std::vector<std::string> layers;  // the two end layers
  int net = 0;
};

struct KicadPad {
  std::string number;  // "1", "A3"; empty for a mounting hole
  std::string type;    // smd, thru_hole, np_thru_hole, connect
  std::string shape;   // rect, roundrect, oval, circle, trapezoid, custom
  // Position relative to the footprint, in the footprint's own (unrotated) frame;
  // the rotation is the pad's orientation on the board, the footprint's included,
  // as the file stores it.
  KicadPoint at;
  double rotationDeg = 0.0;
  double widthMm = 0.0;
  double heightMm = 0.0;
  std::optional<double> drillMm;
  std::vector<std::string> layers;  // may hold wildcards: *.Cu, *.Mask
  int net = 0;
  std::string netName;
};

struct KicadFootprint {
  std::string libraryName;  // "Resistor_SMD:R_0603_1608Metric"
  std::string reference;    // R1
  std::string layer;        // F.Cu or B.Cu
  KicadPoint at;
  double rotationDeg = 0.0;
  std::vector<KicadPad> pads;
};

// One drawn item of the board outline, in board coordinates (footprint outline
// items already placed). An arc runs from start through mid to end; a circle has
// its centre in start and a point on it in end; a poly lists its corners.
struct KicadOutlineItem {
  enum class Kind { Line, Rect, Arc, Circle, Poly };
  Kind kind = Kind::Line;
  KicadPoint start;
  KicadPoint mid;
  KicadPoint end;
  std::vector<KicadPoint> points;
};

struct KicadBoard {
  int version = 0;  // 20171130 for KiCad 5, 2021xxxx for KiCad 6, ...
  std::string generator;
  std::optional<double> thicknessMm;  // general thickness
  std::map<int, std::string> nets;    // number -> name; 0 is "" (no net)
  std::vector<KicadLayer> layers;
  std::vector<KicadStackupLayer> stackup;
  std::vector<KicadTrack> tracks;
  std::vector<KicadVia> vias;
  std::vector<KicadFootprint> footprints;
  std::vector<KicadOutlineItem> outline;

  // The net's name, "" when unknown.
  std::string NetName(int net) const;
};

// Reads a board file; throws FileError naming the file, the line and the column
// for anything malformed, FileError for a file that cannot be read.
KicadBoard ReadKicadBoard(const std::filesystem::path& path);
// The same over text in memory; fileName only names the file in messages.
KicadBoard ParseKicadBoard(std::string_view text, const std::string& fileName);

// Where a pad lies on the board: its centre, and the size of the box around it
// along the board axes once turned by its rotation.
struct KicadPadOnBoard {
  KicadPoint centre;
  double widthMm = 0.0;
  double heightMm = 0.0;
};
KicadPadOnBoard PadShapeInBoard(const KicadFootprint& footprint, const KicadPad& pad);

// cos and sin of an angle in degrees, exact at multiples of 90 so that a pad
// turned by 90 degrees lands exactly where it belongs.
void CosSinDeg(double angleDeg, double& c, double& s);

// Turns a point about the origin by angleDeg counter-clockwise on screen, in
// KiCad's y-down frame.
KicadPoint RotateOnScreen(KicadPoint p, double angleDeg);

// The corner points of a polyline approximating the arc from start through mid to
// end, start and end included, whose chords stay within maxDeviationMm of the
// arc. Three points on a line give the straight piece {start, end}.
std::vector<KicadPoint> ArcChords(KicadPoint start, KicadPoint mid, KicadPoint end,
                                  double maxDeviationMm);

}  // namespace lumetra
