// The plot utility's "Save..." rule: which picture a name
// chosen in the save dialog gives, by its extension and the filter entry chosen.
// On this platform the two metafile entries save Scalable Vector Graphics.
#pragma once

#include <optional>
#include <string>

namespace lumetra {

inline constexpr const char* UnknownFileFormatMessage = "Error: Unknown fileformat";

// The save dialog's entries, in order (filter index 0, 1, 2).
enum class PictureFormat { Svg, PlainSvg, Bitmap };

struct PictureTarget {
  std::string Path;                     // the name with the default extension added
  std::optional<PictureFormat> Format;  // nullopt: nothing is saved
  bool UnknownExtension = false;        // UnknownFileFormatMessage is due
};

// A name without an extension gets ".svg" (entries 0 and 1) or ".bmp" (entry 2).
// Then by the upper-cased extension: ".SVG" saves in the entry's SVG form, but
// nothing with the bitmap entry; ".BMP" saves a bitmap; anything else is unknown.
PictureTarget ResolvePictureTarget(const std::string& chosenName, int filterIndex);

}  // namespace lumetra
