#include "fields/near_field_kernels.h"

#include <algorithm>
#include <cmath>

#include "solver/physical_constants.h"

namespace lumetra {

namespace {

Complex Scale(Complex z, double s) { return {z.Re * s, z.Im * s}; }

// The distance of the field point and the phase e^(-j u), shared by all kernels
// of one dipole and point.
struct Separation {
  double R, U, CosU, SinU;
};

Separation Separate(double r, double u) { return {r, u, std::cos(u), std::sin(u)}; }

// -j (eta m / (4 pi k)) (a + j b) e^(-j u): the common factor of both E kernels.
Complex EFactor(Complex moment, double a, double b, const Separation& g, double k,
                double etaOverFourPi) {
  const Complex bracket = CMul({a, b}, {g.CosU, -g.SinU});
  const Complex scaled = Scale(moment, etaOverFourPi / k);
  const Complex product = CMul(scaled, bracket);
  return {product.Im, -product.Re};  // times -j
}

Complex H(Complex moment, double dc, const Separation& g) {
  // (1 + j u) e^(-j u) = cos u + u sin u + j (u cos u - sin u)
  const Complex radial{g.CosU + g.U * g.SinU, g.U * g.CosU - g.SinU};
  return Scale(CMul(moment, radial), dc / (FourPi * g.R * g.R * g.R));
}

Complex EParallel(Complex moment, double dp, const Separation& g, double k, double eta4) {
  const double r3 = g.R * g.R * g.R, r5 = r3 * g.R * g.R;
  const double u = g.U;
  const double a = (u * u - 1.0) / r3 + (3.0 - u * u) * dp * dp / r5;
  const double b = -u / r3 + 3.0 * u * dp * dp / r5;
  return EFactor(moment, a, b, g, k, eta4);
}

Complex ECross(Complex moment, double dp, double dq, const Separation& g, double k,
               double eta4) {
  const double r5 = g.R * g.R * g.R * g.R * g.R;
  const double u = g.U;
  const double a = dp * dq * (3.0 - u * u) / r5;
  const double b = dp * dq * 3.0 * u / r5;
  return EFactor(moment, a, b, g, k, eta4);
}

void Accumulate(Complex& sum, Complex term, double sign) {
  sum.Re += sign * term.Re;
  sum.Im += sign * term.Im;
}

// The field of one dipole centred at z0, added with sign (+1 for the dipole, -1
// for its image).
void AddOne(const Dipole& d, double z0, double sign, double x, double y, double z, double k,
            double eta4, FieldSample& s, bool& tooClose) {
  const double dx = x - d.X, dy = y - d.Y, dz = z - z0;
  const double r = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (r < std::max(d.SizeA, d.SizeB)) tooClose = true;
  if (r <= CoincidenceTolerance) {
    // The kernels divide by R; the point sits on the element, where the dipole
    // model says nothing anyway.
    tooClose = true;
    return;
  }
  const Separation g = Separate(r, k * r);
  const Complex m = d.Moment;
  switch (d.Axis) {
    case DipoleAxis::X:
      Accumulate(s.Hy, H(m, dz, g), -sign);
      Accumulate(s.Hz, H(m, dy, g), sign);
      Accumulate(s.Ex, EParallel(m, dx, g, k, eta4), sign);
      Accumulate(s.Ey, ECross(m, dx, dy, g, k, eta4), sign);
      Accumulate(s.Ez, ECross(m, dx, dz, g, k, eta4), sign);
      break;
    case DipoleAxis::Y:
      Accumulate(s.Hx, H(m, dz, g), sign);
      Accumulate(s.Hz, H(m, dx, g), -sign);
      Accumulate(s.Ex, ECross(m, dy, dx, g, k, eta4), sign);
      Accumulate(s.Ey, EParallel(m, dy, g, k, eta4), sign);
      Accumulate(s.Ez, ECross(m, dy, dz, g, k, eta4), sign);
      break;
    case DipoleAxis::Z:
      Accumulate(s.Hx, H(m, dy, g), -sign);
      Accumulate(s.Hy, H(m, dx, g), sign);
      Accumulate(s.Ex, ECross(m, dz, dx, g, k, eta4), sign);
      Accumulate(s.Ey, ECross(m, dz, dy, g, k, eta4), sign);
      Accumulate(s.Ez, EParallel(m, dz, g, k, eta4), sign);
      break;
  }
}

}  // namespace

Complex DipoleH(Complex moment, double dc, double r, double u) {
  return H(moment, dc, Separate(r, u));
}

Complex DipoleEParallel(Complex moment, double dp, double r, double u, double k,
                        double etaOverFourPi) {
  return EParallel(moment, dp, Separate(r, u), k, etaOverFourPi);
}

Complex DipoleECross(Complex moment, double dp, double dq, double r, double u, double k,
                     double etaOverFourPi) {
  return ECross(moment, dp, dq, Separate(r, u), k, etaOverFourPi);
}

double MediumEtaOverFourPi(double frequencyMHz, double k) {
  const double k0 = TwoPi * frequencyMHz * 1e6 * std::sqrt(Mu0 * Eps0);
  return FreeSpaceEtaOverFourPi * k0 / k;
}

void AddDipoleField(const Dipole& dipole, double x, double y, double z, double k,
                    FieldSample& sample, bool& tooClose, double etaOverFourPi) {
  AddOne(dipole, dipole.Z, +1.0, x, y, z, k, etaOverFourPi, sample, tooClose);
  if (dipole.HasImage)
    AddOne(dipole, dipole.ImageZ, -1.0, x, y, z, k, etaOverFourPi, sample, tooClose);
}

}  // namespace lumetra
