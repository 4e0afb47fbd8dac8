#include "plots/picture_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lumetra {

PictureTarget ResolvePictureTarget(const std::string& chosenName, int filterIndex) {
  PictureTarget target;
  target.Path = chosenName;
  const bool bitmapEntry = filterIndex == 2;
  if (std::filesystem::path(chosenName).extension().empty()) {
    static constexpr const char* defaults[] = {".svg", ".svg", ".bmp", ".png", ".pdf"};
    target.Path += defaults[filterIndex >= 0 && filterIndex < 5 ? filterIndex : 0];
  }
  std::string extension = std::filesystem::path(target.Path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (extension == ".SVG") {
    if (!bitmapEntry && filterIndex < 3)
      target.Format = filterIndex == 1 ? PictureFormat::PlainSvg : PictureFormat::Svg;
  } else if (extension == ".BMP") {
    target.Format = PictureFormat::Bitmap;
  } else if (extension == ".PNG") {
    target.Format = PictureFormat::Png;
  } else if (extension == ".PDF") {
    target.Format = PictureFormat::Pdf;
  } else {
    target.UnknownExtension = true;
  }
  return target;
}

}  // namespace lumetra
