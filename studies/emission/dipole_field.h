// The summed E field of many short current elements at one point, arranged so that
// the compiler can evaluate several dipoles per instruction.
//
// Per dipole of moment m along the unit axis p, at the vector R from its centre
// (R = |R|, u = k R), in the time convention e^(-jkR):
//   E = -j (eta / (4 pi)) (m / k) e^(-j u) [ (u^2 - 1 - j u) / R^3  p
//                                        + (3 - u^2 + 3 j u) (R . p) / R^5  R ]
// the near-, intermediate- and far-zone terms of the exact Hertzian-dipole field,
// term for term those of the near-field kernels. The constant -j eta / (4 pi k) is
// taken out of the sum; e^(-j u) comes from a polynomial sine and cosine that the
// compiler can vectorise (the library's sin and cos are one call per value).
#pragma once

#include <vector>

#include "studies/emission/test_site.h"

namespace lumetra::emission {

// The dipoles as one array per quantity; the axis as a unit vector of 0s and 1s so
// that every dipole takes the same instructions.
struct DipoleArrays {
  std::vector<double> X, Y, Z;
  std::vector<double> Px, Py, Pz;
  std::vector<double> MomentRe, MomentIm;

  std::size_t Size() const { return X.size(); }
};

DipoleArrays ArrangeDipoles(const std::vector<PointDipole>& dipoles);

// The field of all dipoles at (x, y, z) in air (wavenumber k0 > 0, eta0 = 120 pi).
// A dipole whose centre coincides with the point (closer than 1e-12 m) is left
// out: its field is undefined there.
FieldVector SummedField(const DipoleArrays& dipoles, double x, double y, double z, double k0);

// sin x and cos x for 0 <= x < 1e9 to within a few units in the last place of x's
// magnitude: Cody-Waite reduction by pi/2 and the minimax polynomials on
// [-pi/4, pi/4]. Inline so that a loop calling it stays vectorisable.
inline void PolynomialSinCos(double x, double& sine, double& cosine) {
  constexpr double TwoOverPi = 0.63661977236758134308;
  // pi/2 in three parts; the first two have short mantissas so that n times them
  // is exact for every n this range gives.
  constexpr double HalfPi1 = 1.57079625129699707031e+00;
  constexpr double HalfPi2 = 7.54978941586159635336e-08;
  constexpr double HalfPi3 = 5.39030285815811905290e-15;
  const int n = static_cast<int>(x * TwoOverPi + 0.5);
  const double dn = static_cast<double>(n);
  const double y = ((x - dn * HalfPi1) - dn * HalfPi2) - dn * HalfPi3;
  const double z = y * y;
  const double sinPoly =
      ((((1.58962301576546568060e-10 * z - 2.50507477628578072866e-8) * z +
         2.75573136213857245213e-6) * z - 1.98412698295895385996e-4) * z +
       8.33333333332211858878e-3) * z - 1.66666666666666307295e-1;
  const double cosPoly =
      ((((-1.13585365213876817300e-11 * z + 2.08757008419747316778e-9) * z -
         2.75573141792967388112e-7) * z + 2.48015872888517045348e-5) * z -
       1.38888888888730564116e-3) * z + 4.16666666666665929218e-2;
  const double s = y + y * z * sinPoly;
  const double c = 1.0 - 0.5 * z + z * z * cosPoly;
  // Quadrant n mod 4: sin x = s, c, -s, -c; cos x = c, -s, -c, s. Chosen by
  // arithmetic rather than branches, which would stop the vectoriser; a product
  // with 0 or 1 is exact.
  const double odd = static_cast<double>(n & 1);
  const double sv = (1.0 - odd) * s + odd * c;
  const double cv = (1.0 - odd) * c + odd * s;
  sine = (1.0 - 2.0 * static_cast<double>((n >> 1) & 1)) * sv;
  cosine = (1.0 - 2.0 * static_cast<double>(((n + 1) >> 1) & 1)) * cv;
}

}  // namespace lumetra::emission
