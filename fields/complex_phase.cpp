#include "fields/complex_phase.h"

#include <cmath>
#include <numbers>

namespace lumetra {

double CurrentPhase(double re, double im) {
  if (re == 0.0) {
    if (im > 0.0) return 90.0;
    if (im < 0.0) return -90.0;
    return 0.0;
  }
  const double base = std::atan(im / re) * 180.0 / std::numbers::pi;
  if (re > 0.0) return base;
  return im >= 0.0 ? base + 180.0 : base - 180.0;
}

}  // namespace lumetra
