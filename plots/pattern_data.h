// What the radiation-pattern page draws, without any widget: the cut through one
// far-field block, its radial scale (linear or dB per division), the labels, the
// angle lists of the cut dialog and the geometry of the polar grid.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fields/result_readers.h"

namespace lumetra {

enum class PatternQuantity { ETheta, EPhi, ETot, Gain };
enum class CutKind { PhiConstant, ThetaConstant };

// One point of a cut: the plotted value and its angle (degrees), in file order.
struct PatternPoint {
  double Value = 0.0;
  double Angle = 0.0;
};

// Exponent form with 4 significant digits and the shortest exponent: "1.235E+3",
// "-2.000E-12", "0.000E+0".
std::string FormatExponent4(double value);

// "Selection: ETheta", "Selection: EPhi", "Selection: ETot", "Selection: Power gain".
std::string SelectionLabel(PatternQuantity quantity);
// "Scale: Linear" or "Scale: Logarithmic, <dB> [dB/div]".
std::string ScaleLabel(bool logScale, double dbPerDivision);
// "Cut: Theta=<angle>" or "Cut: Phi=<angle>".
std::string CutLabel(CutKind kind, double angle);
// "Frequency:<f> [MHz]".
std::string FrequencyLabel(double frequencyMHz);

// The power gain needs the input power of a single-frequency run; without a
// positive one there is no gain to plot.
bool GainAvailable(double inputPower);

// The records of a far-field block (theta, phi, Etheta, Ephi per row) that lie on
// the cut, as the chosen quantity against the running angle. The match is exact:
// the angle comes from the same file. The gain is |E|^2 / (60 P_in); asked for
// without a positive input power the cut is empty rather than divided by zero.
std::vector<PatternPoint> ExtractCut(const ResultBlock& block, CutKind kind, double cutAngle,
                                     PatternQuantity quantity, double inputPower);

// The radial positions of a cut. Radius (pixels) = R[i] * UnitsToPixels(Rmax).
struct ScaledCut {
  std::vector<double> R;
  double Maximum = 1e-20;     // largest value, at least 1e-20
  double PixelsPerUnit = 0;   // for Rmax = 1; multiply by Rmax
  std::string MaximumLabel;   // "Max: ..."
  std::optional<std::string> ScaleLabel;  // set by the linear scale only
};
// Linear: five divisions of a fifth of the maximum. Logarithmic: the maximum at
// 50, ten units per division, and everything at or below five divisions under the
// maximum at the centre.
ScaledCut ScaleCut(const std::vector<PatternPoint>& points, PatternQuantity quantity,
                   bool logScale, double dbPerDivision);

// The angle lists of the cut dialog from the first block of the far-field file.
struct CutAngleLists {
  std::vector<double> Theta;
  std::vector<double> Phi;
};
CutAngleLists CutAngles(const ResultBlock& firstBlock);

// The dB-per-division dialog: the radio button that matches a value (0..3 for
// 10, 5, 2, 1 dB/div after rounding, 4 for "Special").
int DbButtonFor(double dbPerDivision);
double DbOfButton(int button);  // 10, 5, 2, 1; 0 for "Special"

// The polar grid in a page of width x height pixels: a square of side D centred
// in the page, centre C, outer radius R = C - 25.
struct PolarGeometry {
  int D = 0, Left = 0, Top = 0, C = 0, R = 0;
  // Bounding box (left, top, right, bottom) of circle k = 0..4, radius R - r_k.
  void CircleBox(int k, int& left, int& top, int& right, int& bottom) const;
  // End of radial line k = 0..11 (every 30 degrees).
  void RadialEnd(int k, int& x, int& y) const;
};
PolarGeometry GridGeometry(int width, int height);

// A point of the curve in the paint square: the centre cx = D div 2 plus the
// radius r * k (pixels) at the angle (degrees, counter-clockwise from the right).
void CurvePoint(int cx, double angleDegrees, double radiusPixels, int& x, int& y);

}  // namespace lumetra
