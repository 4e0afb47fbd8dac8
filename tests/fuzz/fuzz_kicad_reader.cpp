// Feeds arbitrary bytes to the KiCad board reader. It may refuse a file, but only
// with FileError; whatever it accepts must hold together: every net a track, via
// or pad refers to is in the net table, every number is finite, and the geometry
// helpers give finite answers of bounded size on it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "import/kicad_board.h"
#include "model/file_io.h"
#include "tests/fuzz/fuzz_support.h"

using namespace lumetra;
using lumetra::fuzz::Require;

namespace {

bool Finite(KicadPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  KicadBoard board;
  try {
    board = ParseKicadBoard(text, "fuzz.kicad_pcb");
  } catch (const FileError&) {
    return 0;
  }
  for (const KicadTrack& track : board.tracks) {
    Require(board.nets.contains(track.net));
    Require(Finite(track.start) && Finite(track.end) && Finite(track.mid));
    Require(track.widthMm >= 0.0);
    if (track.isArc) {
      const auto points = ArcChords(track.start, track.mid, track.end, 0.01);
      Require(points.size() >= 2 && points.size() <= 4097);
      for (const KicadPoint& p : points) Require(Finite(p));
    }
  }
  for (const KicadVia& via : board.vias) {
    Require(board.nets.contains(via.net));
    Require(Finite(via.at) && via.sizeMm >= 0.0);
  }
  for (const KicadFootprint& footprint : board.footprints)
    for (const KicadPad& pad : footprint.pads) {
      Require(board.nets.contains(pad.net));
      Require(pad.netName == board.NetName(pad.net));
      const KicadPadOnBoard shape = PadShapeInBoard(footprint, pad);
      Require(Finite(shape.centre) && std::isfinite(shape.widthMm) &&
              std::isfinite(shape.heightMm) && shape.widthMm >= 0.0 && shape.heightMm >= 0.0);
    }
  for (const KicadOutlineItem& item : board.outline) {
    Require(Finite(item.start) && Finite(item.mid) && Finite(item.end));
    for (const KicadPoint& p : item.points) Require(Finite(p));
  }
  return 0;
}
