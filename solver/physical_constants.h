// Physical constants of the moment-method computation, with the exact values the
// results are calibrated to.
#pragma once

namespace lumetra {

inline constexpr double Mu0 = 1.2566370614359173e-06;  // H/m, 4 pi 1e-7
inline constexpr double Eps0 = 8.854e-12;              // F/m
inline constexpr double OneOverPi = 0.3183098861837907;
inline constexpr double FourPi = 12.566370614359172;
inline constexpr double TwoPi = 6.283185307179586;
inline constexpr double OneOverFourPi = 0.07957747154594767;
inline constexpr double MillimetreToMetre = 0.001;
// Two points closer than this (metres) are the same point.
inline constexpr double CoincidenceTolerance = 1e-12;

}  // namespace lumetra
