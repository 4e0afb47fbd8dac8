#include "studies/narrow_strip_warning.h"

#include <algorithm>

namespace lumetra {

bool HasOneCellWideStrip(const Project& project) {
  return std::any_of(project.Segments.begin(), project.Segments.end(), [](const Segment& s) {
    return std::min(s.ChX, s.ChY) == 1 && std::max(s.ChX, s.ChY) > 1;
  });
}

}  // namespace lumetra
