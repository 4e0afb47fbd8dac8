// The plot utility's save rule: default extensions by filter entry, the formats by
// extension, and the names that save nothing.
#include "plots/picture_file.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(PictureFile, NameWithoutExtensionGetsTheEntrysExtension) {
  PictureTarget t = ResolvePictureTarget("/tmp/plot", 0);
  EXPECT_EQ(t.Path, "/tmp/plot.svg");
  EXPECT_EQ(t.Format, PictureFormat::Svg);
  t = ResolvePictureTarget("/tmp/plot", 1);
  EXPECT_EQ(t.Path, "/tmp/plot.svg");
  EXPECT_EQ(t.Format, PictureFormat::PlainSvg);
  t = ResolvePictureTarget("/tmp/plot", 2);
  EXPECT_EQ(t.Path, "/tmp/plot.bmp");
  EXPECT_EQ(t.Format, PictureFormat::Bitmap);
  EXPECT_FALSE(t.UnknownExtension);
}

TEST(PictureFile, ExtensionDecidesAndIsCaseBlind) {
  EXPECT_EQ(ResolvePictureTarget("a.SVG", 1).Format, PictureFormat::PlainSvg);
  EXPECT_EQ(ResolvePictureTarget("a.Bmp", 0).Format, PictureFormat::Bitmap);
  EXPECT_EQ(ResolvePictureTarget("a.Bmp", 0).Path, "a.Bmp");
  // An .SVG name with the bitmap entry saves nothing, without a message.
  const PictureTarget svgAsBitmap = ResolvePictureTarget("a.svg", 2);
  EXPECT_FALSE(svgAsBitmap.Format);
  EXPECT_FALSE(svgAsBitmap.UnknownExtension);
  // Any other extension: the message and nothing saved.
  for (int entry : {0, 1, 2}) {
    const PictureTarget gif = ResolvePictureTarget("dir.v2/a.gif", entry);
    EXPECT_FALSE(gif.Format);
    EXPECT_TRUE(gif.UnknownExtension);
    EXPECT_EQ(gif.Path, "dir.v2/a.gif");
  }
  EXPECT_EQ(ResolvePictureTarget("dir.v2/a", 0).Path, "dir.v2/a.svg");
}

TEST(PictureFile, PngAndPdfByEntryOrExtension) {
  EXPECT_EQ(ResolvePictureTarget("/tmp/plot", 3).Path, "/tmp/plot.png");
  EXPECT_EQ(ResolvePictureTarget("/tmp/plot", 3).Format, PictureFormat::Png);
  EXPECT_EQ(ResolvePictureTarget("/tmp/plot", 4).Path, "/tmp/plot.pdf");
  EXPECT_EQ(ResolvePictureTarget("/tmp/plot", 4).Format, PictureFormat::Pdf);
  // The extension decides, whichever entry was chosen.
  EXPECT_EQ(ResolvePictureTarget("a.PNG", 0).Format, PictureFormat::Png);
  EXPECT_EQ(ResolvePictureTarget("a.pdf", 2).Format, PictureFormat::Pdf);
  EXPECT_EQ(ResolvePictureTarget("a.bmp", 3).Format, PictureFormat::Bitmap);
  // An .SVG name with a raster or PDF entry saves nothing, without a message.
  EXPECT_FALSE(ResolvePictureTarget("a.svg", 3).Format);
  EXPECT_FALSE(ResolvePictureTarget("a.svg", 4).UnknownExtension);
}

}  // namespace
}  // namespace lumetra
