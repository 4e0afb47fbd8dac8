#include "plots/picture_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lumetra {

PictureTarget ResolvePictureTarget(const std::string& chosenName, int filterIndex) {
  PictureTarget target;
  target.Path = chosenName;
  const bool bitmapEntry = filterIndex == 2;
  if (std::filesystem::path(chosenName).extension().empty())
    target.Path += bitmapEntry ? ".bmp" : ".svg";
  std::string extension = std::filesystem::path(target.Path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (extension == ".SVG") {
    if (!bitmapEntry)
      target.Format = filterIndex == 1 ? PictureFormat::PlainSvg : PictureFormat::Svg;
  } else if (extension == ".BMP") {
    target.Format = PictureFormat::Bitmap;
  } else {
    target.UnknownExtension = true;
  }
  return target;
}

}  // namespace lumetra
