#include "plots/pattern_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "model/number_format.h"

namespace lumetra {

namespace {

constexpr double Degree = std::numbers::pi / 180.0;

double ValueOf(const double* row, PatternQuantity quantity, double inputPower) {
  const double et = row[2], ep = row[3];
  switch (quantity) {
    case PatternQuantity::ETheta: return et;
    case PatternQuantity::EPhi: return ep;
    case PatternQuantity::ETot: return std::sqrt(et * et + ep * ep);
    case PatternQuantity::Gain: return (et * et + ep * ep) / (60.0 * inputPower);
  }
  return 0.0;
}

// Rounding half to even, as the grid's integer pixel positions are taken.
int RoundPixel(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

std::string FormatExponent4(double value) {
  if (!std::isfinite(value)) return FormatGeneral(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.3E", value);
  std::string text = buffer;
  // "%E" pads the exponent to two digits; the label takes the shortest one.
  const auto e = text.find('E');
  std::string mantissa = text.substr(0, e);
  const char sign = text[e + 1];
  std::string digits = text.substr(e + 2);
  while (digits.size() > 1 && digits.front() == '0') digits.erase(0, 1);
  return mantissa + "E" + sign + digits;
}

std::string SelectionLabel(PatternQuantity quantity) {
  switch (quantity) {
    case PatternQuantity::ETheta: return "Selection: ETheta";
    case PatternQuantity::EPhi: return "Selection: EPhi";
    case PatternQuantity::ETot: return "Selection: ETot";
    case PatternQuantity::Gain: return "Selection: Power gain";
  }
  return "Selection: None";
}

std::string ScaleLabel(bool logScale, double dbPerDivision) {
  if (!logScale) return "Scale: Linear";
  return "Scale: Logarithmic, " + FormatGeneral(dbPerDivision) + " [dB/div]";
}

std::string CutLabel(CutKind kind, double angle) {
  return (kind == CutKind::ThetaConstant ? "Cut: Theta=" : "Cut: Phi=") + FormatGeneral(angle);
}

std::string FrequencyLabel(double frequencyMHz) {
  return "Frequency:" + FormatGeneral(frequencyMHz) + " [MHz]";
}

bool GainAvailable(double inputPower) { return inputPower > 0.0; }

std::vector<PatternPoint> ExtractCut(const ResultBlock& block, CutKind kind, double cutAngle,
                                     PatternQuantity quantity, double inputPower) {
  std::vector<PatternPoint> points;
  if (block.FieldsPerLine < 4) return points;
  if (quantity == PatternQuantity::Gain && !GainAvailable(inputPower)) return points;
  for (std::size_t i = 0; i < block.Rows(); ++i) {
    const double* row = block.Row(i);
    const bool thetaCut = kind == CutKind::ThetaConstant;
    if ((thetaCut ? row[0] : row[1]) != cutAngle) continue;
    points.push_back({ValueOf(row, quantity, inputPower), thetaCut ? row[1] : row[0]});
  }
  return points;
}

ScaledCut ScaleCut(const std::vector<PatternPoint>& points, PatternQuantity quantity,
                   bool logScale, double dbPerDivision) {
  ScaledCut cut;
  for (const auto& p : points) cut.Maximum = std::max(cut.Maximum, p.Value);
  const double max = cut.Maximum;
  const bool gain = quantity == PatternQuantity::Gain;
  cut.R.reserve(points.size());
  if (logScale) {
    // Power takes 10 log10, field 20 log10: the floor lies five divisions down.
    const double perDecade = gain ? 100.0 : 200.0;
    const double floor = max / std::pow(10.0, dbPerDivision / (gain ? 2.0 : 4.0));
    for (const auto& p : points)
      cut.R.push_back(p.Value > floor
                          ? perDecade * std::log10(p.Value / max) / dbPerDivision + 50.0
                          : 0.0);
    cut.PixelsPerUnit = 0.02;
    cut.MaximumLabel =
        "Max: " + FormatExponent4((gain ? 10.0 : 20.0) * std::log10(max)) + " [dB]";
  } else {
    for (const auto& p : points) cut.R.push_back(p.Value);
    cut.PixelsPerUnit = 1.0 / max;
    const std::string division = FormatExponent4(0.2 * max);
    if (gain) {
      cut.ScaleLabel = "Scale: Linear " + division + " [/div]";
      cut.MaximumLabel = "Max: " + FormatExponent4(max);
    } else {
      cut.ScaleLabel = "Scale: Linear " + division + " [V/div]";
      cut.MaximumLabel = "Max: " + FormatExponent4(max) + " [V]";
    }
  }
  return cut;
}

CutAngleLists CutAngles(const ResultBlock& block) {
  CutAngleLists lists;
  if (block.FieldsPerLine < 4 || block.Rows() == 0) return lists;
  const double theta0 = block.Row(0)[0], phi0 = block.Row(0)[1];
  lists.Theta.push_back(theta0);
  for (std::size_t i = 1; i < block.Rows(); ++i)
    if (std::abs(block.Row(i)[1] - phi0) < 1e-10) lists.Theta.push_back(block.Row(i)[0]);
  lists.Phi.push_back(phi0);
  for (std::size_t i = 1; i < block.Rows(); ++i) {
    const double* row = block.Row(i);
    if (std::abs(row[0] - theta0) > 1e-10) break;
    if (row[1] != phi0) lists.Phi.push_back(row[1]);
  }
  return lists;
}

int DbButtonFor(double dbPerDivision) {
  switch (static_cast<long>(std::nearbyint(dbPerDivision))) {
    case 10: return 0;
    case 5: return 1;
    case 2: return 2;
    case 1: return 3;
    default: return 4;
  }
}

double DbOfButton(int button) {
  constexpr double values[] = {10.0, 5.0, 2.0, 1.0};
  return button >= 0 && button < 4 ? values[button] : 0.0;
}

void PolarGeometry::CircleBox(int k, int& left, int& top, int& right, int& bottom) const {
  const int r = RoundPixel(k * R * 0.2);
  left = top = 25 + r;
  right = bottom = D - 25 - r;
}

void PolarGeometry::RadialEnd(int k, int& x, int& y) const {
  x = C + RoundPixel(std::cos(30.0 * k * Degree) * R);
  y = C - RoundPixel(std::sin(30.0 * k * Degree) * R);
}

PolarGeometry GridGeometry(int width, int height) {
  PolarGeometry g;
  g.D = std::max(0, std::min(width, height) - 20);
  g.Left = RoundPixel(width / 2.0 - g.D / 2.0);
  g.Top = RoundPixel(height / 2.0 - g.D / 2.0);
  g.C = g.D / 2;
  g.R = g.C - 25;
  return g;
}

void CurvePoint(int cx, double angleDegrees, double radiusPixels, int& x, int& y) {
  x = RoundPixel(cx + std::cos(angleDegrees * Degree) * radiusPixels);
  y = RoundPixel(cx - std::sin(angleDegrees * Degree) * radiusPixels);
}

}  // namespace lumetra
