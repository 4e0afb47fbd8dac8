#include "plots/pattern_units.h"

#include <charconv>
#include <cmath>

#include "plots/engineering_units.h"

namespace lumetra {

namespace {

std::string Significant(double value, int digits) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
  return std::string(text, result.ptr);
}

std::string Metres(double distanceM) { return Significant(distanceM, 4) + " m"; }

}  // namespace

std::vector<std::string> RingLabels(double maximum, PatternQuantity quantity, bool logScale,
                                    double dbPerDivision, std::optional<double> distanceM) {
  std::vector<std::string> labels;
  const bool gain = quantity == PatternQuantity::Gain;
  for (int ring = 1; ring <= 5; ++ring) {
    if (logScale) {
      double top = 0.0;
      std::string unit;
      if (gain) {
        top = 10.0 * std::log10(maximum);
        unit = " dBi";
      } else if (distanceM) {
        top = FieldStrengthDbuVPerM(maximum, *distanceM);
        unit = " dBuV/m";
      } else {
        top = 20.0 * std::log10(maximum);
        unit = " dBV";
      }
      labels.push_back(FormatDb(top - (5 - ring) * dbPerDivision, 1) + unit);
    } else {
      // One form for all five rings: exponent form when the maximum is very small
      // or large, so that the rings read alike ("5.16e-05 V" ... "2.58e-04 V").
      const double value = maximum * ring / 5.0;
      const bool exponent = maximum < 1e-2 || maximum >= 1e4;
      char text[64];
      const auto result =
          exponent ? std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 2)
                   : std::to_chars(text, text + sizeof text, value, std::chars_format::general, 3);
      labels.push_back(std::string(text, result.ptr) + (gain ? "" : " V"));
    }
  }
  return labels;
}

std::string FieldStrengthLabel(double maximumV, PatternQuantity quantity, double distanceM) {
  if (quantity == PatternQuantity::Gain) return {};
  const double db = FieldStrengthDbuVPerM(maximumV, distanceM);
  if (std::isnan(db)) return {};
  return "At " + Metres(distanceM) + ": " + FormatDb(db) + " dBuV/m (max)";
}

std::string AngleNote(CutKind kind) {
  return kind == CutKind::PhiConstant ? "Angle: Theta [deg], 0 = board normal (+z)"
                                      : "Angle: Phi [deg], 0 = +x, 90 = +y";
}

std::string AngleZeroMark(CutKind kind) {
  return kind == CutKind::PhiConstant ? "normal" : "+x";
}

std::optional<double> ParseDistance(const std::string& text) {
  double value = 0.0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && *begin == ' ') ++begin;
  while (end > begin && end[-1] == ' ') --end;
  const auto result = std::from_chars(begin, end, value);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  if (!std::isfinite(value) || value <= 0.0) return std::nullopt;
  return value;
}

}  // namespace lumetra
