// The mouse position the layout page shows in status panel 2.
#pragma once

#include <string>

namespace lumetra {

// Fixed point with two decimals, rounded to at most five significant digits first.
std::string FormatPosition(double value);

// "X=<x> mm  Y=<y> mm"
std::string MousePositionText(double x, double y);
// "X=<x> mm  Y=<y> mm  dx=<dx>  dy=<dy>" while a segment is being drawn; dy counts
// downwards, in screen direction.
std::string MousePositionText(double x, double y, double dx, double dy);

}  // namespace lumetra
