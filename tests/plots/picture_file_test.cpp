// The plot utility's save rule: default extensions by filter entry, the formats by
// extension, and the names that save nothing.
#include "plots/picture_file.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

// Filter entries: 0 SVG, 1 plain SVG, 2 bitmap, 3 PNG, 4 PDF. A name without an
// extension takes the entry's; an extension decides whatever the entry (case-blind);
// an .svg name with a raster or PDF entry saves nothing, silently; any other
// extension saves nothing, with the message.
TEST(PictureFile, EntryOrExtensionDecidesTheFormat) {
  const std::optional<PictureFormat> none;
  const struct {
    const char* name;
    int entry;
    const char* path;
    std::optional<PictureFormat> format;
    bool unknown;
  } cases[] = {
      {"/tmp/plot", 0, "/tmp/plot.svg", PictureFormat::Svg, false},
      {"/tmp/plot", 1, "/tmp/plot.svg", PictureFormat::PlainSvg, false},
      {"/tmp/plot", 2, "/tmp/plot.bmp", PictureFormat::Bitmap, false},
      {"/tmp/plot", 3, "/tmp/plot.png", PictureFormat::Png, false},
      {"/tmp/plot", 4, "/tmp/plot.pdf", PictureFormat::Pdf, false},
      {"dir.v2/a", 0, "dir.v2/a.svg", PictureFormat::Svg, false},
      {"a.SVG", 1, "a.SVG", PictureFormat::PlainSvg, false},
      {"a.Bmp", 0, "a.Bmp", PictureFormat::Bitmap, false},
      {"a.PNG", 0, "a.PNG", PictureFormat::Png, false},
      {"a.pdf", 2, "a.pdf", PictureFormat::Pdf, false},
      {"a.bmp", 3, "a.bmp", PictureFormat::Bitmap, false},
      {"a.svg", 2, "a.svg", none, false},
      {"a.svg", 3, "a.svg", none, false},
      {"a.svg", 4, "a.svg", none, false},
      {"dir.v2/a.gif", 0, "dir.v2/a.gif", none, true},
      {"dir.v2/a.gif", 2, "dir.v2/a.gif", none, true},
      {"dir.v2/a.gif", 4, "dir.v2/a.gif", none, true},
  };
  for (const auto& c : cases) {
    const PictureTarget t = ResolvePictureTarget(c.name, c.entry);
    EXPECT_EQ(t.Path, c.path) << c.name << " " << c.entry;
    EXPECT_EQ(t.Format, c.format) << c.name << " " << c.entry;
    EXPECT_EQ(t.UnknownExtension, c.unknown) << c.name << " " << c.entry;
  }
}

}  // namespace
}  // namespace lumetra
