// Results in the units an EMC engineer reads them in: the port impedance of a
// voltage source, its reflection coefficient against a reference impedance (as
// return loss in dB), and the far-field amplitude as field strength at a chosen
// distance in V/m and dBuV/m.
#pragma once

#include <optional>
#include <string>

#include "solver/complex_arithmetic.h"

namespace lumetra {

// The reference impedance of the reflection coefficient: a 50 ohm generator or
// measurement system.
inline constexpr double ReferenceImpedanceOhm = 50.0;

// Z = V / I of a source port. None when the source's element took no part in the
// system or no current flows through it (an open port has no finite impedance).
std::optional<Complex> PortImpedance(Complex voltage, const std::optional<Complex>& current);

// Gamma = (Z - Z0) / (Z + Z0). For Z = -Z0 (a negative resistance that exactly
// cancels the reference) the denominator vanishes; |Gamma| is then infinite.
Complex ReflectionCoefficient(Complex impedance, double referenceOhm = ReferenceImpedanceOhm);
double ReflectionMagnitude(Complex impedance, double referenceOhm = ReferenceImpedanceOhm);
// 20 log10 |Gamma| in dB: 0 dB for a short or an open, -inf for a perfect match
// (callers show that as such; it is not an error).
double ReflectionDb(Complex impedance, double referenceOhm = ReferenceImpedanceOhm);

// The far-field files hold A = |E| * r in V (the field strength times the distance,
// which does not depend on the distance in the far zone). At a distance d (m) the
// field strength is |E| = A / d in V/m. A distance that is not positive gives NaN.
double FieldStrengthVPerM(double amplitudeV, double distanceM);
// The same in dB above 1 uV/m: 20 log10((A / d) / 1e-6); -inf for a zero field.
double FieldStrengthDbuVPerM(double amplitudeV, double distanceM);

// A dB value for a table or a label: fixed with the given decimals, "-inf" for a
// perfect match or zero field, "inf" when infinite upwards, "" for NaN. The decimal
// separator is always '.', whatever the locale.
std::string FormatDb(double db, int decimals = 2);

}  // namespace lumetra
