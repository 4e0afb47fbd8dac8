// Physical and numerical constants shared by the kernels.
#pragma once

#include <complex>
#include <numbers>

namespace velkor {

using Complex = std::complex<double>;

// The imaginary unit, the library's only non-trivial constant datum.
inline constexpr Complex J{0.0, 1.0};

inline constexpr double Pi = std::numbers::pi;

// Free-space wave impedance, ohm.
inline constexpr double Eta0 = 376.7343;

// Below this modulus (rad/m) a pulse transform sin(k c)/k is replaced by its limit c.
inline constexpr double SmallArgument = 1e-10;

// Free-space wavenumber in rad/m for a frequency in MHz (light speed 300 m/us).
inline double free_space_wavenumber(double f_mhz) { return 2.0 * Pi * f_mhz / 300.0; }

}  // namespace velkor
