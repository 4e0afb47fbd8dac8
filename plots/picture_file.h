// The plot utility's "Save..." rule: which picture a name
// chosen in the save dialog gives, by its extension and the filter entry chosen.
// On this platform the two metafile entries save Scalable Vector Graphics.
#pragma once

#include <optional>
#include <string>

namespace lumetra {

inline constexpr const char* UnknownFileFormatMessage = "Error: Unknown fileformat";

// The save dialog's entries, in order (filter index 0 to 4).
enum class PictureFormat { Svg, PlainSvg, Bitmap, Png, Pdf };

struct PictureTarget {
  std::string Path;                     // the name with the default extension added
  std::optional<PictureFormat> Format;  // nullopt: nothing is saved
  bool UnknownExtension = false;        // UnknownFileFormatMessage is due
};

// A name without an extension gets ".svg" (entries 0 and 1), ".bmp" (entry 2),
// ".png" (entry 3) or ".pdf" (entry 4). Then by the upper-cased extension: ".SVG"
// saves in the entry's SVG form, but nothing with the bitmap entry; ".BMP" saves
// a bitmap, ".PNG" a PNG image and ".PDF" a PDF page with whichever entry;
// anything else is unknown.
PictureTarget ResolvePictureTarget(const std::string& chosenName, int filterIndex);

}  // namespace lumetra
