// The phase of a complex value in degrees over the full circle, the rule shared by
// the current plots and the plot utility (the result lists show the plain
// arctangent instead, see result_lists_format.h).
#pragma once

namespace lumetra {

// atan(im/re) in degrees for re > 0; plus 180 for re < 0 and im >= 0; minus 180
// for re < 0 and im < 0; +90 or -90 for re = 0 and im > 0 or im < 0; 0 for 0.
double CurrentPhase(double re, double im);

}  // namespace lumetra
