#include "import/kicad_import.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "import/copper_raster.h"
#include "import/kicad_net_list.h"
#include "import/pad_terminations.h"
#include "import/stackup_environment.h"
#include "import/strip_layout.h"
#include "model/connections.h"
#include "model/discretisation.h"

namespace lumetra {

namespace {

// Copper of a chosen net may overhang the outline by this much (edge connectors,
// pads on the board edge); beyond it the file is taken as wrong.
constexpr double OutlineOverhangMm = 1.0;
// Speed of light in mm/us: the wavelength in mm is this over the frequency in MHz.
constexpr double LightMmPerMicrosecond = 299'792.458;
// How far the chords of an arc may stand off it, in grid steps.
constexpr double ArcChordDeviationSteps = 0.25;

std::string Mm(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

double ParseNumber(const std::string& text, const std::string& what, const std::string& whole) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value))
    throw KicadImportError("\"" + whole + "\": " + what + " \"" + text + "\" is not a number");
  return value;
}

std::vector<std::string> SplitAtColons(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ':') parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

PadTermination ParseTermination(const std::string& text, std::size_t maxValues,
                                const char* form) {
  const std::vector<std::string> parts = SplitAtColons(text);
  const std::size_t dot = parts[0].rfind('.');
  if (parts.size() > maxValues + 1 || dot == std::string::npos || dot == 0 ||
      dot + 1 == parts[0].size())
    throw KicadImportError("\"" + text + "\" is not of the form " + form);
  PadTermination out;
  out.reference = parts[0].substr(0, dot);
  out.pad = parts[0].substr(dot + 1);
  return out;
}

double Distance(KicadPoint a, KicadPoint b) { return std::hypot(b.x - a.x, b.y - a.y); }

// A via joins the copper layers from one of its end layers to the other.
bool ViaOnLayer(const KicadVia& via, const std::string& layer,
                const std::vector<std::string>& copper) {
  if (via.layers.size() < 2) return true;
  auto position = [&](const std::string& name) -> std::optional<std::size_t> {
    for (std::size_t k = 0; k < copper.size(); ++k)
      if (copper[k] == name) return k;
    return std::nullopt;
  };
  const auto a = position(via.layers[0]), b = position(via.layers[1]), here = position(layer);
  if (!a || !b || !here) return false;
  return *here >= std::min(*a, *b) && *here <= std::max(*a, *b);
}

// The copper of one chosen net on the layer.
struct NetCopper {
  int number = 0;
  std::string name;
  std::vector<const KicadTrack*> tracks;
  std::vector<std::pair<const KicadFootprint*, const KicadPad*>> pads;
  std::vector<const KicadVia*> vias;
};

struct Box {
  double xMin = INFINITY, yMin = INFINITY, xMax = -INFINITY, yMax = -INFINITY;
  void Add(KicadPoint p, double reach = 0.0) {
    xMin = std::min(xMin, p.x - reach);
    yMin = std::min(yMin, p.y - reach);
    xMax = std::max(xMax, p.x + reach);
    yMax = std::max(yMax, p.y + reach);
  }
  bool Empty() const { return xMin > xMax; }
};

Box OutlineBox(const KicadBoard& board) {
  Box box;
  for (const KicadOutlineItem& item : board.outline) {
    switch (item.kind) {
      case KicadOutlineItem::Kind::Line:
      case KicadOutlineItem::Kind::Rect:
        box.Add(item.start);
        box.Add(item.end);
        break;
      case KicadOutlineItem::Kind::Arc:
        for (KicadPoint p : ArcChords(item.start, item.mid, item.end, 0.001)) box.Add(p);
        break;
      case KicadOutlineItem::Kind::Circle:
        box.Add(item.start, Distance(item.start, item.end));
        break;
      case KicadOutlineItem::Kind::Poly:
        for (KicadPoint p : item.points) box.Add(p);
        break;
    }
  }
  return box;
}

// Without an outline: all copper of the board with a margin.
Box CopperBox(const KicadBoard& board) {
  Box box;
  for (const KicadTrack& track : board.tracks) {
    box.Add(track.start, track.widthMm);
    box.Add(track.end, track.widthMm);
  }
  for (const KicadVia& via : board.vias) box.Add(via.at, via.sizeMm);
  for (const KicadFootprint& footprint : board.footprints)
    for (const KicadPad& pad : footprint.pads) {
      const KicadPadOnBoard shape = PadShapeInBoard(footprint, pad);
      box.Add(shape.centre, std::max(shape.widthMm, shape.heightMm));
    }
  if (!box.Empty()) {
    box.xMin -= 1.0;
    box.yMin -= 1.0;
    box.xMax += 1.0;
    box.yMax += 1.0;
  }
  return box;
}

// KiCad's frame (y down) into the board's (y up from the lower-left corner).
struct Frame {
  double xMin = 0.0, yMax = 0.0;
  BoardPoint operator()(KicadPoint p) const { return {p.x - xMin, yMax - p.y}; }
};

double QuantiseGrid(double mm) {
  return std::max(1.0, std::round(mm / GridQuantumMm)) * GridQuantumMm;
}

// The most common track width of the nets (ties to the narrower), or the
// smallest pad side when they have no tracks.
double TypicalWidth(const std::vector<NetCopper>& nets) {
  std::map<long long, int> counts;
  for (const NetCopper& net : nets)
    for (const KicadTrack* track : net.tracks)
      ++counts[std::llround(track->widthMm * 1e6)];
  if (!counts.empty()) {
    auto best = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it)
      if (it->second > best->second) best = it;
    return static_cast<double>(best->first) * 1e-6;
  }
  double smallest = INFINITY;
  for (const NetCopper& net : nets) {
    for (const auto& [footprint, pad] : net.pads)
      smallest = std::min({smallest, pad->widthMm, pad->heightMm});
    for (const KicadVia* via : net.vias) smallest = std::min(smallest, via->sizeMm);
  }
  return std::isfinite(smallest) && smallest > 0.0 ? smallest : 1.0;
}

// What the raster pass produces for one grid.
struct RasterPass {
  CopperRaster raster;
  std::vector<double> layoutLength;  // per net
};

RasterPass DrawNets(const std::vector<NetCopper>& nets, const Frame& frame, double g,
                    const Box& copper, const Project& project) {
  // The window: the nets' copper with a margin, within the board.
  const int iLow = std::max(0, static_cast<int>(std::floor((copper.xMin) / g)) - 2);
  const int jLow = std::max(0, static_cast<int>(std::floor((copper.yMin) / g)) - 2);
  const int iHigh = std::min(static_cast<int>(std::ceil(project.PcbLx / g)),
                             static_cast<int>(std::ceil(copper.xMax / g)) + 2);
  const int jHigh = std::min(static_cast<int>(std::ceil(project.PcbLy / g)),
                             static_cast<int>(std::ceil(copper.yMax / g)) + 2);
  RasterPass pass{CopperRaster(g, iLow, jLow, std::max(1, iHigh - iLow), std::max(1, jHigh - jLow)),
                  std::vector<double>(nets.size(), 0.0)};
  for (std::size_t n = 0; n < nets.size(); ++n) {
    const int label = static_cast<int>(n + 1);
    auto claim = [&](const std::vector<CellIndex>& cells) {
      for (const CellIndex& c : cells) pass.raster.Claim(c.i, c.j, label);
    };
    auto straight = [&](KicadPoint a, KicadPoint b, double width) {
      const BoardPoint start = frame(a), end = frame(b);
      const std::vector<CellIndex> cells = TrackCells(start, end, width, g);
      claim(cells);
      pass.layoutLength[n] += TrackCellsPathLength(start, end, width, g, cells);
    };
    for (const KicadTrack* track : nets[n].tracks) {
      if (!track->isArc) {
        straight(track->start, track->end, track->widthMm);
        continue;
      }
      const std::vector<KicadPoint> chords =
          ArcChords(track->start, track->mid, track->end, ArcChordDeviationSteps * g);
      for (std::size_t k = 1; k < chords.size(); ++k)
        straight(chords[k - 1], chords[k], track->widthMm);
    }
    for (const auto& [footprint, pad] : nets[n].pads) {
      const KicadPadOnBoard shape = PadShapeInBoard(*footprint, *pad);
      claim(PadCells(frame(shape.centre), pad->widthMm, pad->heightMm, pad->rotationDeg,
                     pad->shape == "circle", g));
    }
    for (const KicadVia* via : nets[n].vias)
      claim(PadCells(frame(via->at), via->sizeMm, via->sizeMm, 0.0, true, g));
  }
  return pass;
}

void CheckInsideBoard(const NetCopper& net, const Frame& frame, const Project& project) {
  auto check = [&](KicadPoint p) {
    const BoardPoint b = frame(p);
    if (b.x < -OutlineOverhangMm || b.y < -OutlineOverhangMm ||
        b.x > project.PcbLx + OutlineOverhangMm || b.y > project.PcbLy + OutlineOverhangMm)
      throw KicadImportError("net \"" + net.name + "\" has copper at (" + Mm(p.x) + ", " +
                             Mm(p.y) + ") mm, outside the board outline (" +
                             std::to_string(project.PcbLx) + " x " +
                             std::to_string(project.PcbLy) + " mm)");
  };
  for (const KicadTrack* track : net.tracks) {
    check(track->start);
    check(track->end);
  }
  for (const auto& [footprint, pad] : net.pads) check(PadShapeInBoard(*footprint, *pad).centre);
  for (const KicadVia* via : net.vias) check(via->at);
}

void PlaceTermination(KicadImport& out, const KicadBoard& board, const Frame& frame,
                      const std::vector<NetCopper>& nets, const std::string& layer,
                      const PadTermination& term, bool driver) {
  const std::string name = term.reference + "." + term.pad;
  const KicadFootprint* footprint = nullptr;
  for (const KicadFootprint& candidate : board.footprints)
    if (candidate.reference == term.reference) footprint = &candidate;
  if (!footprint) throw KicadImportError("no footprint \"" + term.reference + "\" on the board");
  const KicadPad* pad = nullptr;
  for (const KicadPad& candidate : footprint->pads)
    if (candidate.number == term.pad) pad = &candidate;
  if (!pad) throw KicadImportError(term.reference + " has no pad \"" + term.pad + "\"");
  bool imported = false;
  for (const NetCopper& net : nets) imported |= net.number == pad->net;
  if (!imported)
    throw KicadImportError("pad " + name + " is on net \"" + pad->netName +
                           "\", which is not imported");
  if (!KicadPadOnLayer(*pad, layer))
    throw KicadImportError("pad " + name + " is not on layer " + layer);
  const BoardPoint at = frame(PadShapeInBoard(*footprint, *pad).centre);
  const std::optional<TerminationSite> site =
      TerminationSiteNear(out.project.Segments, at.x, at.y);
  if (!site)
    throw KicadImportError("the layout has no current element to put the " +
                           std::string(driver ? "driver" : "receiver") + " of " + name + " on");
  out.project.GroundPoints.push_back(site->ground);
  if (driver) {
    VoltageSource source;
    source.X = site->element.X;
    source.Y = site->element.Y;
    source.Dx = site->element.Dx;
    source.Dy = site->element.Dy;
    source.ReV = term.first;
    source.IsJx = site->element.IsJx;
    source.ElementNo = site->element.ElementNo;
    out.project.VoltageSources.push_back(source);
  } else {
    ImpedanceElement load;
    load.X = site->element.X;
    load.Y = site->element.Y;
    load.Dx = site->element.Dx;
    load.Dy = site->element.Dy;
    load.R = term.first;
    load.LC = term.capacitancePf ? -*term.capacitancePf * 1e-12 : 0.0;
    load.IsJx = site->element.IsJx;
    load.ElementNo = site->element.ElementNo;
    out.project.Impedances.push_back(load);
  }
}

double PermittivityOver(const std::optional<PlaneBelow>& plane,
                        const KicadImportOptions& options) {
  if (!plane && !options.groundPlaneMm) return 1.0;
  return options.dielectric.value_or(plane ? plane->epsilonR : AssumedEpsilonR);
}

double WavelengthMm(double frequencyMHz, double epsilonR) {
  return LightMmPerMicrosecond / frequencyMHz / std::sqrt(epsilonR);
}

}  // namespace

double ImportPermittivity(const KicadBoard& board, const KicadImportOptions& options) {
  return PermittivityOver(GroundPlaneFromStackup(board, options.layer), options);
}

double CellWavelengthMm(const KicadBoard& board, const KicadImportOptions& options) {
  return WavelengthMm(options.maxFrequencyMHz, ImportPermittivity(board, options));
}

PadTermination ParseDriver(const std::string& text) {
  const char* form = "REF.PAD[:VOLTS]";
  const std::vector<std::string> parts = SplitAtColons(text);
  PadTermination out = ParseTermination(text, 1, form);
  out.first = parts.size() > 1 ? ParseNumber(parts[1], "the voltage", text) : DefaultDriverVolts;
  return out;
}

PadTermination ParseReceiver(const std::string& text) {
  const char* form = "REF.PAD[:R[:C_PF]]";
  const std::vector<std::string> parts = SplitAtColons(text);
  PadTermination out = ParseTermination(text, 2, form);
  out.first = parts.size() > 1 ? ParseNumber(parts[1], "the resistance", text)
                               : DefaultReceiverOhms;
  if (out.first < 0.0) throw KicadImportError("\"" + text + "\": the resistance is negative");
  if (parts.size() > 2) {
    out.capacitancePf = ParseNumber(parts[2], "the capacitance", text);
    if (*out.capacitancePf <= 0.0)
      throw KicadImportError("\"" + text + "\": the capacitance must be positive");
  }
  return out;
}

KicadImport ImportKicadNets(const KicadBoard& board, const KicadImportOptions& options,
                            const std::string& boardFile) {
  // --- What to import ---
  const std::vector<std::string> copperLayers = KicadCopperLayers(board);
  if (std::find(copperLayers.begin(), copperLayers.end(), options.layer) == copperLayers.end()) {
    std::string list;
    for (const std::string& name : copperLayers) list += (list.empty() ? "" : ", ") + name;
    throw KicadImportError("layer \"" + options.layer + "\" is not a copper layer of the board (" +
                           (list.empty() ? "it has none" : list) + ")");
  }
  if (options.nets.empty()) throw KicadImportError("no net chosen");
  if (options.cellsAcross < 1 || options.cellsAcross > 50)
    throw KicadImportError("cells across must lie between 1 and 50");
  if (!(options.maxFrequencyMHz > 0.0) || !std::isfinite(options.maxFrequencyMHz))
    throw KicadImportError("the highest frequency must be positive");
  if (options.gridMm && !(*options.gridMm > 0.0 && *options.gridMm <= 100.0))
    throw KicadImportError("the grid must lie between 0 and 100 mm");
  if (options.groundPlaneMm && !(*options.groundPlaneMm > 0.0 && *options.groundPlaneMm < 1000.0))
    throw KicadImportError("the ground-plane height must lie between 0 and 1000 mm");
  if (options.dielectric && !(*options.dielectric >= 1.0 && *options.dielectric < 1000.0))
    throw KicadImportError("the permittivity must lie between 1 and 1000");

  std::vector<NetCopper> nets;
  std::set<std::string> seen;
  for (const std::string& name : options.nets) {
    if (!seen.insert(name).second) continue;
    NetCopper net;
    net.name = name;
    bool found = false;
    for (const auto& [number, netName] : board.nets)
      if (number != 0 && netName == name) {
        net.number = number;
        found = true;
      }
    if (!found) throw KicadImportError("the board has no net \"" + name + "\"");
    for (const KicadTrack& track : board.tracks)
      if (track.net == net.number && track.layer == options.layer) net.tracks.push_back(&track);
    for (const KicadFootprint& footprint : board.footprints)
      for (const KicadPad& pad : footprint.pads)
        if (pad.net == net.number && KicadPadOnLayer(pad, options.layer))
          net.pads.emplace_back(&footprint, &pad);
    for (const KicadVia& via : board.vias)
      if (via.net == net.number && ViaOnLayer(via, options.layer, copperLayers))
        net.vias.push_back(&via);
    if (net.tracks.empty() && net.pads.empty())
      throw KicadImportError("net \"" + name + "\" has no copper on layer " + options.layer);
    nets.push_back(std::move(net));
  }
  if (nets.size() > 60000) throw KicadImportError("too many nets");

  KicadImport out;
  KicadImportReport& report = out.report;
  report.boardFile = boardFile;
  report.layer = options.layer;
  report.cellsAcross = options.cellsAcross;
  Project& project = out.project;

  // --- Board ---
  Box outline = OutlineBox(board);
  if (outline.Empty()) {
    outline = CopperBox(board);
    report.warnings.push_back("the board has no outline on Edge.Cuts; its size is taken from "
                              "the copper with 1 mm around it");
  }
  if (outline.Empty() || outline.xMax - outline.xMin > 10000.0 ||
      outline.yMax - outline.yMin > 10000.0)
    throw KicadImportError("the board outline is missing or larger than 10 m");
  const Frame frame{outline.xMin, outline.yMax};
  project.PcbLx = std::max(1, static_cast<int>(std::ceil(outline.xMax - outline.xMin - 1e-6)));
  project.PcbLy = std::max(1, static_cast<int>(std::ceil(outline.yMax - outline.yMin - 1e-6)));
  for (const NetCopper& net : nets) CheckInsideBoard(net, frame, project);

  // --- Environment ---
  const std::optional<PlaneBelow> plane = GroundPlaneFromStackup(board, options.layer);
  Environment& env = project.Env;
  const double epsilonR = PermittivityOver(plane, options);
  if (plane || options.groundPlaneMm) {
    env.GroundPlane = true;
    const double height = options.groundPlaneMm.value_or(plane ? plane->heightMm : 0.0);
    env.GPHeight = Mm(height);
    env.DielConst = Mm(epsilonR);
    report.environment = "ground plane " + Mm(height) + " mm below, epsilon_r " + Mm(epsilonR) +
                         (options.groundPlaneMm || options.dielectric ? " (as given)" : "");
    if (plane) report.environment += "; " + plane->how;
  } else {
    env.GroundPlane = false;
    if (options.dielectric) env.DielConst = Mm(*options.dielectric);
    report.environment = "free space: the board has no other copper layer for a plane "
                         "(--ground-plane H sets one)";
  }

  // --- Grid and charge density ---
  const double wavelength = WavelengthMm(options.maxFrequencyMHz, epsilonR);
  report.maxCellMm = wavelength / options.cellsPerWavelength;
  double g = 0.0;
  if (options.gridMm) {
    g = QuantiseGrid(*options.gridMm);
    report.gridRule = "as given, rounded to 1/1024 mm";
  } else {
    const double width = TypicalWidth(nets);
    g = QuantiseGrid(width / options.cellsAcross);
    report.gridRule = "the most common track width (" + Mm(width) + " mm) / " +
                      std::to_string(options.cellsAcross) +
                      " cell(s) across, rounded to 1/1024 mm";
  }
  Box copper;
  for (const NetCopper& net : nets) {
    for (const KicadTrack* track : net.tracks) {
      const BoardPoint a = frame(track->start), b = frame(track->end), m = frame(track->mid);
      copper.Add({a.x, a.y}, track->widthMm);
      copper.Add({b.x, b.y}, track->widthMm);
      if (track->isArc) {
        // An arc may bulge beyond its three points by up to its radius.
        const double radius = Distance(track->start, track->end) + Distance(track->start, track->mid);
        copper.Add({m.x, m.y}, radius + track->widthMm);
      }
    }
    for (const auto& [footprint, pad] : net.pads) {
      const BoardPoint c = frame(PadShapeInBoard(*footprint, *pad).centre);
      copper.Add({c.x, c.y}, std::hypot(pad->widthMm, pad->heightMm));
    }
    for (const KicadVia* via : net.vias) {
      const BoardPoint c = frame(via->at);
      copper.Add({c.x, c.y}, via->sizeMm);
    }
  }
  copper.xMin = std::max(copper.xMin, 0.0);
  copper.yMin = std::max(copper.yMin, 0.0);

  std::vector<double> kicadLength(nets.size(), 0.0);
  for (std::size_t n = 0; n < nets.size(); ++n)
    for (const KicadTrack* track : nets[n].tracks) kicadLength[n] += KicadTrackLength(*track);
  // Track ends land on the grid; on a grid as coarse as a wide track short tracks
  // change length noticeably, so a chosen grid is refined a few times until every
  // net keeps its length to within this fraction.
  constexpr double LengthTolerance = 0.01;
  constexpr int MaxLengthRefinements = 3;
  int refinements = 0;
  double previousGrid = 0.0;

  std::optional<RasterPass> pass;
  while (true) {
    const double cells = (copper.xMax - copper.xMin) / g * ((copper.yMax - copper.yMin) / g);
    if (cells > static_cast<double>(MaxRasterCells))
      throw KicadImportError("a grid of " + Mm(g) + " mm would need " + Mm(cells) +
                             " cells for these nets (at most " + std::to_string(MaxRasterCells) +
                             "): choose a coarser --grid");
    pass.emplace(DrawNets(nets, frame, g, copper, project));
    const auto touching = pass->raster.TouchingNets();
    if (!touching) {
      // A refined grid that gives more elements than the computation takes is no
      // better than the one before it.
      if (refinements > 0) {
        const StripSegments trial =
            SegmentsFromRaster(pass->raster, {LightMmPerMicrosecond, options.cellsAcross});
        if (JxElements(trial.segments).size() + JyElements(trial.segments).size() >
            static_cast<std::size_t>(options.maxUnknownsPerDirection)) {
          g = previousGrid;
          pass.emplace(DrawNets(nets, frame, g, copper, project));
          report.gridRule += " (the last halving undone: too many unknowns)";
          break;
        }
      }
      bool lengthsKept = true;
      for (std::size_t n = 0; n < nets.size(); ++n)
        lengthsKept &= std::fabs(pass->layoutLength[n] - kicadLength[n]) <=
                       LengthTolerance * kicadLength[n];
      if (lengthsKept || options.gridMm || refinements == MaxLengthRefinements ||
          g <= GridQuantumMm)
        break;
      previousGrid = g;
      ++refinements;
      g = QuantiseGrid(g / 2.0);
      report.gridRule += refinements == 1 ? ", halved" : ", halved again";
      report.gridRule += " to keep the lengths within 1 %";
      continue;
    }
    const std::string a = nets[static_cast<std::size_t>(touching->first - 1)].name;
    const std::string b = nets[static_cast<std::size_t>(touching->second - 1)].name;
    if (options.gridMm || g <= GridQuantumMm)
      throw KicadImportError("nets \"" + a + "\" and \"" + b + "\" touch on a grid of " + Mm(g) +
                             " mm: choose a finer --grid");
    g = QuantiseGrid(g / 2.0);
    report.gridRule += ", halved to keep \"" + a + "\" and \"" + b + "\" apart";
  }
  report.gridMm = g;
  if (report.maxCellMm < g)
    report.warnings.push_back("the grid (" + Mm(g) + " mm) is coarser than the longest cell the "
                              "frequency allows (" + Mm(report.maxCellMm) + " mm)");

  // --- Segments ---
  const CellCountRule rule{report.maxCellMm, options.cellsAcross};
  const StripSegments strips = SegmentsFromRaster(pass->raster, rule);
  project.Segments = strips.segments;
  project.GridSize = g;
  project.ChargesPerGridX = project.ChargesPerGridY = 1;
  project.ShowGridPoints = false;
  if (CheckConnections(project.Segments))
    throw std::logic_error("the imported segments do not satisfy the connection rules");

  for (std::size_t n = 0; n < nets.size(); ++n) {
    NetImport net;
    net.name = nets[n].name;
    net.tracks = static_cast<int>(nets[n].tracks.size());
    net.pads = static_cast<int>(nets[n].pads.size());
    net.vias = static_cast<int>(nets[n].vias.size());
    for (const KicadTrack* track : nets[n].tracks) {
      net.arcs += track->isArc ? 1 : 0;
    }
    net.kicadLengthMm = kicadLength[n];
    net.layoutLengthMm = pass->layoutLength[n];
    net.segments = static_cast<int>(std::count(strips.net.begin(), strips.net.end(),
                                               static_cast<int>(n + 1)));
    net.pieces = CopperPieces(pass->raster, static_cast<int>(n + 1));
    if (net.pieces > 1)
      report.warnings.push_back("net \"" + net.name + "\" falls into " +
                                std::to_string(net.pieces) + " separate pieces on " +
                                options.layer + " (joined on other layers, or narrower than "
                                "the grid can show)");
    report.nets.push_back(net);
  }

  // --- Terminations ---
  if (options.driver) PlaceTermination(out, board, frame, nets, options.layer, *options.driver, true);
  for (const PadTermination& receiver : options.receivers)
    PlaceTermination(out, board, frame, nets, options.layer, receiver, false);

  if (!project.GroundPoints.empty() && epsilonR != 1.0)
    report.warnings.push_back("the computation does not take ground points (drivers, "
                              "receivers) together with a dielectric: --diel 1 puts air "
                              "under the traces");

  // --- Unknowns ---
  const ConnectingElements connecting = FindConnectingElements(project.Segments);
  const std::vector<CurrentElement> jx = JxElements(project.Segments);
  const std::vector<CurrentElement> jy = JyElements(project.Segments);
  report.segments = static_cast<int>(project.Segments.size());
  report.charges = TotalChargeCount(project.Segments);
  report.jx = static_cast<int>(jx.size() + connecting.Jx.size());
  report.jy = static_cast<int>(jy.size() + connecting.Jy.size());
  report.groundPoints = static_cast<int>(project.GroundPoints.size());
  report.unknowns = report.jx + report.jy + report.groundPoints;
  const int limit = options.maxUnknownsPerDirection;
  if (report.jx + report.groundPoints > limit || report.jy + report.groundPoints > limit)
    report.warnings.push_back(
        "the layout has " + std::to_string(report.jx) + " Jx and " + std::to_string(report.jy) +
        " Jy unknowns with " + std::to_string(report.groundPoints) +
        " ground point(s), more than the computation takes (" +
        std::to_string(limit) +
        " per direction, ground points included): import fewer or shorter nets, choose a "
        "coarser --grid (now " + Mm(g) + " mm), fewer --cells-across, or a lower --max-freq");
  return out;
}

}  // namespace lumetra
