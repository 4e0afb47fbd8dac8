#include "import/kicad_board.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string_view>

#include "import/sexpr.h"
#include "model/file_io.h"

namespace lumetra {

namespace {

// No board is a hundred metres across; a larger value is a damaged number.
constexpr double MaxCoordinateMm = 1e5;
constexpr int MaxNetNumber = 10'000'000;

using Node = SexprNode;

class BoardReader {
 public:
  BoardReader(const std::string& fileName) : fileName_(fileName) {}

  KicadBoard Read(const Node& root) {
    if (root.Head() != "kicad_pcb") Fail(root, "not a KiCad board file (no \"kicad_pcb\")");
    // Net 0 is "no net" and always present, also in files that declare no nets
    // (the newest name nets where they are used). Nets first: tracks and pads may
    // refer to them before the list in odd files.
    board_.nets[0] = "";
    netByName_.emplace("", 0);
    for (const Node& item : root.children)
      if (item.Head() == "net") ReadNetDeclaration(item);
    for (const Node& item : root.children) {
      const std::string_view head = item.Head();
      if (head == "version") board_.version = Integer(Arg(item, 1, "version"), 0, 99999999);
      else if (head == "generator") board_.generator = Arg(item, 1, "generator").text;
      else if (head == "general") ReadGeneral(item);
      else if (head == "layers") ReadLayers(item);
      else if (head == "setup") ReadSetup(item);
      else if (head == "segment") ReadTrack(item, false);
      else if (head == "arc") ReadTrack(item, true);
      else if (head == "via") ReadVia(item);
      else if (head == "module" || head == "footprint") ReadFootprint(item);
      else if (head.starts_with("gr_")) ReadOutlineItem(item, nullptr);
    }
    return std::move(board_);
  }

 private:
  [[noreturn]] void Fail(const Node& node, std::string_view what) const {
    FailAtNode(fileName_, node, what);
  }

  static const Node* Find(const Node& list, std::string_view head) {
    for (const Node& child : list.children)
      if (child.Head() == head) return &child;
    return nullptr;
  }

  const Node& Require(const Node& list, std::string_view head) const {
    if (const Node* found = Find(list, head)) return *found;
    Fail(list, "\"" + std::string(list.Head()) + "\" without \"" + std::string(head) + "\"");
  }

  // The index-th child of a list, which must be an atom.
  const Node& Arg(const Node& list, std::size_t index, std::string_view what) const {
    if (index >= list.children.size())
      Fail(list, "\"" + std::string(list.Head()) + "\" lacks its " + std::string(what));
    const Node& arg = list.children[index];
    if (!arg.IsAtom()) Fail(arg, std::string(what) + " expected, found a list");
    return arg;
  }

  double Real(const Node& node, std::string_view what, double limit = MaxCoordinateMm) const {
    if (node.kind != Node::Kind::Number)
      Fail(node, std::string(what) + " expected, found \"" + node.text.substr(0, 40) + "\"");
    std::string_view text = node.text;
    if (text.starts_with('+')) text.remove_prefix(1);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size())
      Fail(node, std::string(what) + " expected, found \"" + node.text.substr(0, 40) + "\"");
    if (!std::isfinite(value) || std::fabs(value) > limit)
      Fail(node, std::string(what) + " " + node.text.substr(0, 40) + " is out of range");
    return value;
  }

  int Integer(const Node& node, long min, long max) const {
    long value = 0;
    const std::string& text = node.text;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (node.kind != Node::Kind::Number || error != std::errc() ||
        stop != text.data() + text.size())
      Fail(node, "integer expected, found \"" + text.substr(0, 40) + "\"");
    if (value < min || value > max) Fail(node, "number " + text + " is out of range");
    return static_cast<int>(value);
  }

  double Positive(const Node& node, std::string_view what) const {
    const double value = Real(node, what);
    if (value < 0.0) Fail(node, std::string(what) + " " + node.text + " is negative");
    return value;
  }

  KicadPoint Point(const Node& list) const {
    return {Real(Arg(list, 1, "x coordinate"), "x coordinate"),
            Real(Arg(list, 2, "y coordinate"), "y coordinate")};
  }

  KicadPoint RequirePoint(const Node& list, std::string_view head) const {
    return Point(Require(list, head));
  }

  // (at x y [angle])
  void ReadAt(const Node& list, KicadPoint& at, double& rotationDeg) const {
    const Node& node = Require(list, "at");
    at = Point(node);
    rotationDeg = 0.0;
    if (node.children.size() > 3 && node.children[3].kind == Node::Kind::Number)
      rotationDeg = Real(node.children[3], "angle");
  }

  std::string LayerOf(const Node& list) const {
    const Node* layer = Find(list, "layer");
    return layer ? Arg(*layer, 1, "layer name").text : std::string();
  }

  std::vector<std::string> LayerList(const Node& list) const {
    std::vector<std::string> names;
    if (const Node* layers = Find(list, "layers"))
      for (std::size_t i = 1; i < layers->children.size(); ++i)
        if (layers->children[i].IsAtom()) names.push_back(layers->children[i].text);
    return names;
  }

  void ReadNetDeclaration(const Node& item) {
    const int number = Integer(Arg(item, 1, "net number"), 0, MaxNetNumber);
    std::string name = item.children.size() > 2 ? Arg(item, 2, "net name").text : "";
    netByName_.emplace(name, number);
    board_.nets[number] = std::move(name);
  }

  // A net given by number (every format up to KiCad 9) or by name (the newest),
  // as (net 3), (net 3 "CLK") or (net "CLK"). Returns 0 for no net.
  int NetOf(const Node& list, std::string* name = nullptr) {
    const Node* net = Find(list, "net");
    if (!net) {
      if (name) *name = board_.NetName(0);
      return 0;
    }
    const Node& first = Arg(*net, 1, "net");
    int number = 0;
    if (first.kind == Node::Kind::Number) {
      number = Integer(first, 0, MaxNetNumber);
      if (net->children.size() > 2) {
        const std::string& given = Arg(*net, 2, "net name").text;
        if (!board_.nets.contains(number)) {
          board_.nets[number] = given;
          netByName_.emplace(given, number);
        }
      }
    } else {
      const auto found = netByName_.find(first.text);
      if (found != netByName_.end()) {
        number = found->second;
      } else {
        number = board_.nets.empty() ? 1 : std::max(1, board_.nets.rbegin()->first + 1);
        board_.nets[number] = first.text;
        netByName_.emplace(first.text, number);
      }
    }
    if (number != 0 && !board_.nets.contains(number))
      Fail(*net, "net " + std::to_string(number) + " is not declared");
    if (name) *name = board_.NetName(number);
    return number;
  }

  void ReadGeneral(const Node& item) {
    if (const Node* thickness = Find(item, "thickness"))
      board_.thicknessMm = Positive(Arg(*thickness, 1, "thickness"), "thickness");
  }

  void ReadLayers(const Node& item) {
    for (std::size_t i = 1; i < item.children.size(); ++i) {
      const Node& entry = item.children[i];
      if (!entry.IsList()) continue;
      if (entry.children.empty()) Fail(entry, "empty layer entry");
      KicadLayer layer;
      layer.ordinal = Integer(Arg(entry, 0, "layer number"), 0, 1000);
      layer.name = Arg(entry, 1, "layer name").text;
      layer.type = Arg(entry, 2, "layer type").text;
      board_.layers.push_back(std::move(layer));
    }
  }

  void ReadSetup(const Node& setup) {
    const Node* stackup = Find(setup, "stackup");
    if (!stackup) return;
    for (const Node& entry : stackup->children) {
      if (entry.Head() != "layer") continue;
      KicadStackupLayer layer;
      layer.name = Arg(entry, 1, "layer name").text;
      // "addsublayer" starts another sublayer of the same dielectric; what
      // follows it belongs to that sublayer.
      for (std::size_t i = 2; i < entry.children.size(); ++i) {
        const Node& field = entry.children[i];
        if (field.IsAtom()) {
          if (field.text == "addsublayer") {
            board_.stackup.push_back(layer);
            layer.thicknessMm.reset();
            layer.epsilonR.reset();
            layer.lossTangent.reset();
          }
          continue;
        }
        const std::string_view head = field.Head();
        if (head == "type") layer.type = Arg(field, 1, "layer type").text;
        else if (head == "material") layer.material = Arg(field, 1, "material").text;
        else if (head == "thickness")
          layer.thicknessMm = Positive(Arg(field, 1, "thickness"), "thickness");
        else if (head == "epsilon_r")
          layer.epsilonR = Positive(Arg(field, 1, "epsilon_r"), "epsilon_r");
        else if (head == "loss_tangent")
          layer.lossTangent = Positive(Arg(field, 1, "loss_tangent"), "loss_tangent");
      }
      board_.stackup.push_back(std::move(layer));
    }
  }

  void ReadTrack(const Node& item, bool isArc) {
    KicadTrack track;
    track.isArc = isArc;
    track.start = RequirePoint(item, "start");
    if (isArc) track.mid = RequirePoint(item, "mid");
    track.end = RequirePoint(item, "end");
    track.widthMm = Positive(Arg(Require(item, "width"), 1, "width"), "width");
    track.layer = Arg(Require(item, "layer"), 1, "layer name").text;
    track.net = NetOf(item);
    board_.tracks.push_back(std::move(track));
  }

  void ReadVia(const Node& item) {
    KicadVia via;
    via.at = RequirePoint(item, "at");
    via.sizeMm = Positive(Arg(Require(item, "size"), 1, "size"), "size");
    if (const Node* drill = Find(item, "drill"))
      via.drillMm = Positive(Arg(*drill, 1, "drill"), "drill");
    via.layers = LayerList(item);
    via.net = NetOf(item);
    board_.vias.push_back(std::move(via));
  }

  void ReadFootprint(const Node& item) {
    KicadFootprint footprint;
    footprint.libraryName = Arg(item, 1, "footprint name").text;
    footprint.layer = LayerOf(item);
    ReadAt(item, footprint.at, footprint.rotationDeg);
    for (const Node& child : item.children) {
      const std::string_view head = child.Head();
      if (head == "fp_text" && child.children.size() > 2 && child.children[1].text == "reference")
        footprint.reference = Arg(child, 2, "reference").text;
      else if (head == "property" && child.children.size() > 2 &&
               child.children[1].text == "Reference")
        footprint.reference = Arg(child, 2, "reference").text;
      else if (head == "pad")
        footprint.pads.push_back(ReadPad(child));
    }
    for (const Node& child : item.children)
      if (child.Head().starts_with("fp_")) ReadOutlineItem(child, &footprint);
    board_.footprints.push_back(std::move(footprint));
  }

  KicadPad ReadPad(const Node& item) {
    KicadPad pad;
    pad.number = Arg(item, 1, "pad number").text;
    pad.type = Arg(item, 2, "pad type").text;
    pad.shape = Arg(item, 3, "pad shape").text;
    ReadAt(item, pad.at, pad.rotationDeg);
    const Node& size = Require(item, "size");
    pad.widthMm = Positive(Arg(size, 1, "pad width"), "pad width");
    pad.heightMm = Positive(Arg(size, 2, "pad height"), "pad height");
    if (const Node* drill = Find(item, "drill")) {
      // (drill 0.8) or (drill oval 1.0 2.0): the first number is the diameter
      // or the slot's width.
      for (std::size_t i = 1; i < drill->children.size(); ++i)
        if (drill->children[i].kind == Node::Kind::Number) {
          pad.drillMm = Positive(drill->children[i], "drill");
          break;
        }
    }
    pad.layers = LayerList(item);
    pad.net = NetOf(item, &pad.netName);
    return pad;
  }

  // A point of a footprint's drawing placed on the board.
  static KicadPoint Place(KicadPoint local, const KicadFootprint* footprint) {
    if (!footprint) return local;
    const KicadPoint turned = RotateOnScreen(local, footprint->rotationDeg);
    return {footprint->at.x + turned.x, footprint->at.y + turned.y};
  }

  // The arc's end and middle when a file gives it the old way: (start) is the
  // centre, (end) where the arc begins, (angle) its sweep in degrees, clockwise
  // on screen for a positive angle.
  static void ArcFromCentre(KicadPoint centre, KicadPoint begin, double angleDeg,
                            KicadPoint& mid, KicadPoint& end) {
    const KicadPoint radius{begin.x - centre.x, begin.y - centre.y};
    const KicadPoint toMid = RotateOnScreen(radius, -angleDeg / 2.0);
    const KicadPoint toEnd = RotateOnScreen(radius, -angleDeg);
    mid = {centre.x + toMid.x, centre.y + toMid.y};
    end = {centre.x + toEnd.x, centre.y + toEnd.y};
  }

  void ReadOutlineItem(const Node& item, const KicadFootprint* footprint) {
    if (LayerOf(item) != "Edge.Cuts") return;
    const std::string_view shape = item.Head().substr(3);
    KicadOutlineItem out;
    if (shape == "line") {
      out.kind = KicadOutlineItem::Kind::Line;
      out.start = RequirePoint(item, "start");
      out.end = RequirePoint(item, "end");
    } else if (shape == "rect") {
      out.kind = KicadOutlineItem::Kind::Rect;
      out.start = RequirePoint(item, "start");
      out.end = RequirePoint(item, "end");
      if (footprint) {
        // Turned with its footprint a rectangle is a general quadrilateral.
        out.kind = KicadOutlineItem::Kind::Poly;
        out.points = {out.start, {out.end.x, out.start.y}, out.end, {out.start.x, out.end.y}};
      }
    } else if (shape == "arc") {
      out.kind = KicadOutlineItem::Kind::Arc;
      out.start = RequirePoint(item, "start");
      out.end = RequirePoint(item, "end");
      if (const Node* mid = Find(item, "mid")) {
        out.mid = Point(*mid);
      } else {
        const double angle = Real(Arg(Require(item, "angle"), 1, "angle"), "angle");
        const KicadPoint centre = out.start;
        out.start = out.end;
        ArcFromCentre(centre, out.start, angle, out.mid, out.end);
      }
    } else if (shape == "circle") {
      out.kind = KicadOutlineItem::Kind::Circle;
      out.start = RequirePoint(item, "center");
      out.end = RequirePoint(item, "end");
    } else if (shape == "poly") {
      out.kind = KicadOutlineItem::Kind::Poly;
      const Node& pts = Require(item, "pts");
      for (const Node& p : pts.children) {
        if (p.Head() == "xy") {
          out.points.push_back(Point(p));
        } else if (p.Head() == "arc") {
          const std::vector<KicadPoint> chords =
              ArcChords(RequirePoint(p, "start"), RequirePoint(p, "mid"), RequirePoint(p, "end"),
                        0.005);
          out.points.insert(out.points.end(), chords.begin(), chords.end());
        }
      }
      if (out.points.size() < 2) Fail(pts, "a polygon of the outline needs two points or more");
    } else {
      return;  // curves and text are not part of the outline we follow
    }
    out.start = Place(out.start, footprint);
    out.mid = Place(out.mid, footprint);
    out.end = Place(out.end, footprint);
    for (KicadPoint& p : out.points) p = Place(p, footprint);
    board_.outline.push_back(std::move(out));
  }

  const std::string& fileName_;
  KicadBoard board_;
  std::map<std::string, int> netByName_;
};


}  // namespace

void CosSinDeg(double angleDeg, double& c, double& s) {
  const double turns = std::fmod(angleDeg, 360.0);
  const double quarter = turns / 90.0;
  if (quarter == std::round(quarter)) {
    static constexpr double cosTable[4] = {1, 0, -1, 0};
    static constexpr double sinTable[4] = {0, 1, 0, -1};
    const int q = (static_cast<int>(quarter) % 4 + 4) % 4;
    c = cosTable[q];
    s = sinTable[q];
    return;
  }
  const double radians = turns * std::numbers::pi / 180.0;
  c = std::cos(radians);
  s = std::sin(radians);
}

std::string KicadBoard::NetName(int net) const {
  const auto found = nets.find(net);
  return found == nets.end() ? std::string() : found->second;
}

KicadBoard ParseKicadBoard(std::string_view text, const std::string& fileName) {
  const SexprNode root = ParseSexpr(text, fileName);
  return BoardReader(fileName).Read(root);
}

KicadBoard ReadKicadBoard(const std::filesystem::path& path) {
  return ParseKicadBoard(ReadTextFile(path), path.string());
}

KicadPoint RotateOnScreen(KicadPoint p, double angleDeg) {
  // With y pointing down, counter-clockwise on screen is clockwise in the
  // usual mathematical sense.
  double c = 1.0, s = 0.0;
  CosSinDeg(angleDeg, c, s);
  return {p.x * c + p.y * s, -p.x * s + p.y * c};
}

KicadPadOnBoard PadShapeInBoard(const KicadFootprint& footprint, const KicadPad& pad) {
  const KicadPoint offset = RotateOnScreen(pad.at, footprint.rotationDeg);
  KicadPadOnBoard out;
  out.centre = {footprint.at.x + offset.x, footprint.at.y + offset.y};
  double c = 1.0, s = 0.0;
  CosSinDeg(pad.rotationDeg, c, s);
  out.widthMm = std::fabs(pad.widthMm * c) + std::fabs(pad.heightMm * s);
  out.heightMm = std::fabs(pad.widthMm * s) + std::fabs(pad.heightMm * c);
  if (pad.shape == "circle") out.widthMm = out.heightMm = pad.widthMm;
  return out;
}

std::vector<KicadPoint> ArcChords(KicadPoint start, KicadPoint mid, KicadPoint end,
                                  double maxDeviationMm) {
  // Centre of the circle through the three points.
  const double ax = start.x, ay = start.y, bx = mid.x, by = mid.y, cx = end.x, cy = end.y;
  const double d = 2.0 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
  const double span = std::max({std::hypot(bx - ax, by - ay), std::hypot(cx - bx, cy - by),
                                std::hypot(cx - ax, cy - ay)});
  if (!std::isfinite(d) || std::fabs(d) <= 1e-12 * span * span || span == 0.0)
    return {start, end};
  const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  const KicadPoint centre{(a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d,
                          (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d};
  const double radius = std::hypot(ax - centre.x, ay - centre.y);
  const double twoPi = 2.0 * std::numbers::pi;
  auto angleOf = [&](KicadPoint p) { return std::atan2(p.y - centre.y, p.x - centre.x); };
  auto wrap = [&](double a) { return a - twoPi * std::floor(a / twoPi); };
  const double a0 = angleOf(start);
  const double toEnd = wrap(angleOf(end) - a0);
  const double toMid = wrap(angleOf(mid) - a0);
  double sweep = toEnd == 0.0 ? twoPi : (toMid <= toEnd ? toEnd : toEnd - twoPi);
  // A chord spanning the angle t stands radius * (1 - cos(t/2)) off the arc.
  const double deviation = std::clamp(maxDeviationMm, radius * 1e-9, radius);
  const double maxStep = 2.0 * std::acos(1.0 - deviation / radius);
  const double pieces = std::ceil(std::fabs(sweep) / std::max(maxStep, 1e-9));
  const int count = static_cast<int>(std::clamp(pieces, 1.0, 4096.0));
  std::vector<KicadPoint> points;
  points.reserve(static_cast<std::size_t>(count) + 1);
  points.push_back(start);
  for (int i = 1; i < count; ++i) {
    const double a = a0 + sweep * i / count;
    points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  points.push_back(end);
  return points;
}

}  // namespace lumetra
