// What a board holds per net: its tracks and their length on each copper layer and
// its pads, the table a user picks nets from.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/kicad_board.h"

namespace lumetra {

// A track's length as KiCad draws it: straight, or along the arc.
double KicadTrackLength(const KicadTrack& track);

// The board's copper layers in board order, top to bottom.
std::vector<std::string> KicadCopperLayers(const KicadBoard& board);

// Whether a pad has copper on the layer ("*.Cu" and "F&B.Cu" included).
bool KicadPadOnLayer(const KicadPad& pad, const std::string& layer);

struct KicadNetOnLayer {
  std::string layer;
  int tracks = 0;
  double lengthMm = 0.0;
};

struct KicadNetSummary {
  std::string name;
  int pads = 0;
  std::vector<KicadNetOnLayer> layers;  // every copper layer (or the one asked for), board order
  double TotalLengthMm() const;
};

// Every named net with copper (a track or a pad), in the order of their names.
// With onlyLayer, the layer list holds that layer alone and nets without tracks or
// pads on it are left out; an unknown layer gives an empty list.
std::vector<KicadNetSummary> SummariseNets(const KicadBoard& board,
                                           const std::optional<std::string>& onlyLayer = {});

}  // namespace lumetra
