#include "plots/engineering_units.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace lumetra {

std::optional<Complex> PortImpedance(Complex voltage, const std::optional<Complex>& current) {
  if (!current || (current->Re == 0.0 && current->Im == 0.0)) return std::nullopt;
  return CDiv(voltage, *current);
}

Complex ReflectionCoefficient(Complex impedance, double referenceOhm) {
  const Complex numerator{impedance.Re - referenceOhm, impedance.Im};
  const Complex denominator{impedance.Re + referenceOhm, impedance.Im};
  if (denominator.Re == 0.0 && denominator.Im == 0.0)
    return {std::numeric_limits<double>::infinity(), 0.0};
  return CDiv(numerator, denominator);
}

double ReflectionMagnitude(Complex impedance, double referenceOhm) {
  return CAbs(ReflectionCoefficient(impedance, referenceOhm));
}

double ReflectionDb(Complex impedance, double referenceOhm) {
  const double magnitude = ReflectionMagnitude(impedance, referenceOhm);
  if (magnitude == 0.0) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(magnitude);
}

double FieldStrengthVPerM(double amplitudeV, double distanceM) {
  if (!(distanceM > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  return std::fabs(amplitudeV) / distanceM;
}

double FieldStrengthDbuVPerM(double amplitudeV, double distanceM) {
  const double field = FieldStrengthVPerM(amplitudeV, distanceM);
  if (std::isnan(field)) return field;
  if (field == 0.0) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(field / 1e-6);
}

std::string FormatDb(double db, int decimals) {
  if (std::isnan(db)) return {};
  if (std::isinf(db)) return db < 0 ? "-inf" : "inf";
  char text[64];
  // to_chars never consults the locale, so the separator stays '.'.
  const auto result = std::to_chars(text, text + sizeof text, db, std::chars_format::fixed,
                                    decimals);
  std::string formatted(text, result.ptr);
  if (formatted.find_first_not_of("-0.") == std::string::npos && formatted[0] == '-')
    formatted.erase(0, 1);  // "-0.00" reads as a sign error
  return formatted;
}

}  // namespace lumetra
