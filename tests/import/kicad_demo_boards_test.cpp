// Every demo board KiCad ships (package kicad-demos) reads without error and holds
// nets and tracks whose values make sense.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "import/kicad_board.h"

namespace lumetra {
namespace {

TEST(KicadDemoBoards, EveryDemoBoardReads) {
  const std::filesystem::path demos = "/usr/share/kicad/demos";
  if (!std::filesystem::is_directory(demos)) GTEST_SKIP() << "kicad-demos not installed";
  int files = 0, filesWithTracks = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(demos)) {
    if (entry.path().extension() != ".kicad_pcb") continue;
    SCOPED_TRACE(entry.path().string());
    KicadBoard board;
    ASSERT_NO_THROW(board = ReadKicadBoard(entry.path()));
    ++files;
    EXPECT_GE(board.version, 20171130);
    EXPECT_FALSE(board.nets.empty());
    EXPECT_FALSE(board.layers.empty());
    // The microwave demo holds only footprints of microwave shapes, no tracks.
    EXPECT_FALSE(board.tracks.empty() && board.footprints.empty());
    filesWithTracks += !board.tracks.empty();
    for (const KicadTrack& track : board.tracks) {
      EXPECT_GT(track.widthMm, 0.0);
      EXPECT_TRUE(board.nets.contains(track.net));
      EXPECT_TRUE(track.layer.ends_with(".Cu")) << track.layer;
    }
    for (const KicadFootprint& footprint : board.footprints)
      for (const KicadPad& pad : footprint.pads) {
        EXPECT_TRUE(board.nets.contains(pad.net));
        const KicadPadOnBoard shape = PadShapeInBoard(footprint, pad);
        EXPECT_TRUE(std::isfinite(shape.centre.x) && std::isfinite(shape.centre.y));
      }
  }
  EXPECT_GT(files, 0);
  EXPECT_GE(filesWithTracks, files - 1);
}

}  // namespace
}  // namespace lumetra
