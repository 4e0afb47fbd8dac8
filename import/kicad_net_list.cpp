#include "import/kicad_net_list.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace lumetra {

namespace {

// Chords this close to an arc give its length to better than a millionth.
constexpr double ArcLengthDeviationMm = 1e-4;

}  // namespace

std::vector<std::string> KicadCopperLayers(const KicadBoard& board) {
  std::vector<std::string> names;
  for (const KicadLayer& layer : board.layers)
    if (layer.name.ends_with(".Cu")) names.push_back(layer.name);
  return names;
}

bool KicadPadOnLayer(const KicadPad& pad, const std::string& layer) {
  for (const std::string& name : pad.layers)
    if (name == layer || name == "*.Cu" ||
        (name == "F&B.Cu" && (layer == "F.Cu" || layer == "B.Cu")))
      return true;
  return false;
}

double KicadTrackLength(const KicadTrack& track) {
  if (!track.isArc) return std::hypot(track.end.x - track.start.x, track.end.y - track.start.y);
  const std::vector<KicadPoint> points =
      ArcChords(track.start, track.mid, track.end, ArcLengthDeviationMm);
  double length = 0.0;
  for (std::size_t k = 1; k < points.size(); ++k)
    length += std::hypot(points[k].x - points[k - 1].x, points[k].y - points[k - 1].y);
  return length;
}

double KicadNetSummary::TotalLengthMm() const {
  double total = 0.0;
  for (const KicadNetOnLayer& layer : layers) total += layer.lengthMm;
  return total;
}

std::vector<KicadNetSummary> SummariseNets(const KicadBoard& board,
                                           const std::optional<std::string>& onlyLayer) {
  std::vector<std::string> layers;
  for (const KicadLayer& layer : board.layers)
    if (layer.name.ends_with(".Cu") && (!onlyLayer || layer.name == *onlyLayer))
      layers.push_back(layer.name);
  if (onlyLayer && layers.empty()) return {};

  std::map<int, KicadNetSummary> byNumber;
  auto summary = [&](int net) -> KicadNetSummary& {
    auto [it, inserted] = byNumber.try_emplace(net);
    if (inserted) {
      it->second.name = board.NetName(net);
      for (const std::string& name : layers) it->second.layers.push_back({name, 0, 0.0});
    }
    return it->second;
  };
  for (const KicadTrack& track : board.tracks) {
    if (track.net == 0) continue;
    const auto layer = std::find(layers.begin(), layers.end(), track.layer);
    if (layer == layers.end()) continue;
    KicadNetOnLayer& use = summary(track.net).layers[static_cast<std::size_t>(layer - layers.begin())];
    ++use.tracks;
    use.lengthMm += KicadTrackLength(track);
  }
  for (const KicadFootprint& footprint : board.footprints)
    for (const KicadPad& pad : footprint.pads)
      if (pad.net != 0 && (!onlyLayer || KicadPadOnLayer(pad, *onlyLayer))) ++summary(pad.net).pads;

  std::vector<KicadNetSummary> out;
  for (auto& [number, net] : byNumber)
    if (!net.name.empty()) out.push_back(std::move(net));
  std::sort(out.begin(), out.end(),
            [](const KicadNetSummary& a, const KicadNetSummary& b) { return a.name < b.name; });
  return out;
}

}  // namespace lumetra
